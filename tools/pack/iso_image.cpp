#include "tools/pack/iso_image.h"

// Declares the image's data source, which libisofs otherwise leaves to libburn's header.
#define LIBISOFS_WITHOUT_LIBBURN
#include <libisofs.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <vector>

namespace {

// libisofs keeps process-wide state: set up once, with names handed over in UTF-8 whatever the locale.
void InitLibrary() {
  static const bool ready = [] {
    iso_init();
    char charset[] = "UTF-8";
    iso_set_local_charset(charset, 0);
    // Failures come back as return codes and are told in our own words; the library stays quiet.
    char never[] = "NEVER";
    char none[] = "";
    iso_set_msgs_severities(never, never, none);
    return true;
  }();
  (void)ready;
}

// Sets the library's "now" for its lifetime, when a time is given.
class FixedNow {
 public:
  explicit FixedNow(const std::optional<std::int64_t>& time) : set_(time.has_value()) {
    if (!set_) return;
    auto now = static_cast<time_t>(*time);
    iso_nowtime(&now, 1);
  }
  ~FixedNow() {
    if (!set_) return;
    time_t ignored = 0;
    iso_nowtime(&ignored, 2);
  }
  FixedNow(const FixedNow&) = delete;
  FixedNow& operator=(const FixedNow&) = delete;

 private:
  bool set_;
};

std::string Failure(const std::string& what, int code) { return what + ": " + iso_error_to_msg(code); }

struct ImageUnref {
  void operator()(IsoImage* image) const { iso_image_unref(image); }
};
using ImagePtr = std::unique_ptr<IsoImage, ImageUnref>;

std::pair<std::string, std::string> SplitParent(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {"", path};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

std::optional<std::string> Build(IsoImage* image, const ImageContents& contents) {
  std::map<std::string, IsoDir*> folders{{"", iso_image_get_root(image)}};
  for (const auto& folder : contents.folders) {
    const auto [parent, name] = SplitParent(folder);
    IsoDir* dir = nullptr;
    const int result = iso_image_add_new_dir(image, folders.at(parent), name.c_str(), &dir);
    if (result < 0) return Failure(folder, result);
    folders[folder] = dir;
  }
  for (const auto& file : contents.files) {
    const auto [parent, name] = SplitParent(file.path);
    int result = 0;
    IsoNode* node = nullptr;
    if (file.contents) {
      // The stream takes the buffer and frees it.
      const std::size_t size = file.contents->size();
      auto* buffer = static_cast<unsigned char*>(std::malloc(size == 0 ? 1 : size));
      if (buffer == nullptr) return file.path + ": out of memory";
      std::memcpy(buffer, file.contents->data(), size);
      IsoStream* stream = nullptr;
      result = iso_memory_stream_new(buffer, size, &stream);
      if (result < 0) {
        std::free(buffer);
        return Failure(file.path, result);
      }
      IsoFile* added = nullptr;
      result = iso_image_add_new_file(image, folders.at(parent), name.c_str(), stream, &added);
      if (result < 0) iso_stream_unref(stream);
      node = reinterpret_cast<IsoNode*>(added);
    } else {
      result = iso_tree_add_new_node(image, folders.at(parent), name.c_str(), file.source.c_str(), &node);
    }
    if (result < 0) return Failure(file.path, result);
    iso_node_set_sort_weight(node, file.sortWeight);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> WriteImage(const ImageContents& contents, int descriptor,
                                      const std::string& name) {
  InitLibrary();
  // The library's "now", which new folders and files take as their times, for as long as this image is made.
  const FixedNow now(contents.timestamp);
  IsoImage* raw = nullptr;
  int result = iso_image_new(contents.volumeLabel.c_str(), &raw);
  if (result < 0) return Failure("image", result);
  const ImagePtr image(raw);
  if (auto failure = Build(image.get(), contents)) return failure;

  IsoWriteOpts* options = nullptr;
  // The distribution profile: Rock Ridge and Joliet, ordinary permissions, the time of writing.
  result = iso_write_opts_new(&options, 2);
  if (result < 0) return Failure("image", result);
  iso_write_opts_set_rockridge(options, 1);
  iso_write_opts_set_joliet(options, 1);
  iso_write_opts_set_sort_files(options, 1);
  if (contents.timestamp) {
    // Every time the image records: the volume's (written as digits, free of time zones), the folders' and
    // files' in all three trees, Rock Ridge's among them, all in UTC.
    const auto time = static_cast<time_t>(*contents.timestamp);
    iso_write_opts_set_always_gmt(options, 1);
    iso_write_opts_set_replace_timestamps(options, 2);
    iso_write_opts_set_default_timestamp(options, time);
    iso_write_opts_set_dir_rec_mtime(options, 7);
    // Rock Ridge 1.10 records no serial numbers: the library counts those over every file it has seen, so
    // that they depend on what the process made before.
    iso_write_opts_set_rrip_version_1_10(options, 1);
    tm utc{};
    gmtime_r(&time, &utc);
    char uuid[17];
    std::strftime(uuid, sizeof uuid, "%Y%m%d%H%M%S", &utc);
    std::strcat(uuid, "00");
    iso_write_opts_set_pvd_times(options, time, time, 0, 0, uuid);
  }
  burn_source* source = nullptr;
  result = iso_image_create_burn_source(image.get(), options, &source);
  iso_write_opts_free(options);
  if (result < 0) return Failure("image", result);

  std::optional<std::string> failure;
  // The library hands the image over a block at a time; it goes to the file in runs of blocks.
  constexpr std::size_t kBlock = 2048;
  std::vector<unsigned char> buffer(32 * kBlock);
  std::size_t filled = 0;
  for (bool end = false; !end && !failure;) {
    const int count = source->read_xt(source, buffer.data() + filled, kBlock);
    if (count < 0) {
      failure = "the image could not be made";
      break;
    }
    filled += static_cast<std::size_t>(count);
    end = count == 0;
    if (filled + kBlock <= buffer.size() && !end) continue;
    for (std::size_t done = 0; done < filled;) {
      const ssize_t written = write(descriptor, buffer.data() + done, filled - done);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        failure = name + ": " + std::strerror(written < 0 ? errno : ENOSPC);
        break;
      }
      done += static_cast<std::size_t>(written);
    }
    filled = 0;
  }
  // The library makes the image in a thread of its own, which must be stopped when the reading stops early.
  if (failure) source->cancel(source);
  source->free_data(source);
  std::free(source);
  return failure;
}

namespace {

std::optional<std::string> Walk(
    IsoDir* dir, const std::string& path,
    const std::function<void(const std::string&, bool, const ReadChunk&)>& visit) {
  IsoDirIter* iterator = nullptr;
  int result = iso_dir_get_children(dir, &iterator);
  if (result < 0) return Failure(path, result);
  std::optional<std::string> failure;
  IsoNode* node = nullptr;
  while (!failure && iso_dir_iter_next(iterator, &node) == 1) {
    const std::string name = path.empty() ? iso_node_get_name(node) : path + "/" + iso_node_get_name(node);
    if (ISO_NODE_IS_DIR(node)) {
      visit(name, true, nullptr);
      failure = Walk(reinterpret_cast<IsoDir*>(node), name, visit);
    } else if (ISO_NODE_IS_FILE(node)) {
      IsoStream* stream = iso_file_get_stream(reinterpret_cast<IsoFile*>(node));
      result = iso_stream_open(stream);
      if (result < 0) {
        failure = Failure(name, result);
        break;
      }
      visit(name, false, [stream](char* buffer, std::size_t size) -> long {
        return iso_stream_read(stream, buffer, size);
      });
      iso_stream_close(stream);
    } else {
      visit(name, false, [](char*, std::size_t) -> long { return -1; });
    }
  }
  iso_dir_iter_free(iterator);
  return failure;
}

}  // namespace

std::optional<std::string> ReadImage(
    const std::filesystem::path& image, bool joliet,
    const std::function<void(const std::string& path, bool isFolder, const ReadChunk& read)>& visit) {
  InitLibrary();
  IsoDataSource* source = nullptr;
  int result = iso_data_source_new_from_file(image.c_str(), &source);
  if (result < 0) return Failure(image.string(), result);
  IsoReadOpts* options = nullptr;
  result = iso_read_opts_new(&options, 0);
  if (result < 0) {
    iso_data_source_unref(source);
    return Failure(image.string(), result);
  }
  iso_read_opts_set_no_rockridge(options, joliet ? 1 : 0);
  iso_read_opts_set_no_joliet(options, joliet ? 0 : 1);
  IsoImage* raw = nullptr;
  result = iso_image_new("", &raw);
  const ImagePtr read(raw);
  if (result >= 0) result = iso_image_import(read.get(), source, options, nullptr);
  iso_read_opts_free(options);
  iso_data_source_unref(source);
  if (result < 0) return Failure(image.string(), result);
  return Walk(iso_image_get_root(read.get()), "", visit);
}
