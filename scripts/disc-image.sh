# Sourced by the run script and the end-to-end test: the disc's ISO image mounted read-only with fuseiso, as a
# CD-ROM is, and unmounted again. Mount points are absolute paths.

# Mounts IMAGE on MOUNT-POINT read-only, first clearing whatever a stopped earlier run left there. Fails, saying
# so, when the image is not mounted afterwards.
mount_image() {  # image, mount point
  unmount_image "$2"
  mkdir -p "$2"
  # fuseiso returns once the mount is in place (its daemon then serves it) or fails with a message.
  if ! fuseiso "$1" "$2" -o ro >&2 || ! image_mounted "$2"; then
    echo "cannot mount $1 on $2" >&2
    return 1
  fi
}

# True when MOUNT-POINT is a mount; read from the mount table, which names it by its real path, since a mount
# whose daemon died answers no stat.
image_mounted() {  # mount point
  awk -v m="$(cd "$1" 2>/dev/null && pwd -P || echo "$1")" '$2 == m { found = 1 } END { exit !found }' /proc/self/mounts
}

# Unmounts MOUNT-POINT if it is mounted. Whoever has a file or directory open on it (a Wine process, a shell's
# working directory) keeps it busy, so the callers end those first; a mount still busy after five seconds is
# detached lazily, and goes when the last user does. Never fails, so that it can end a trap under set -e.
unmount_image() {  # mount point
  image_mounted "$1" || return 0
  tries=0
  until fusermount -u "$1" 2>/dev/null; do
    tries=$((tries + 1))
    if [ "$tries" -ge 50 ]; then
      fusermount -u -z "$1" 2>/dev/null || true
      return 0
    fi
    sleep 0.1
  done
}
