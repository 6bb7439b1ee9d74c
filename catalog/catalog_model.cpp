#include "catalog/catalog_model.h"

#include <stdexcept>
#include <utility>

namespace {

bool InRange(int id) { return id >= 0 && id < CategoryTable::kSlotCount; }

}  // namespace

void CategoryTable::Clear() {
  for (auto& slot : slots_) slot.reset();
}

Category* CategoryTable::Get(int id) { return InRange(id) ? slots_[id].get() : nullptr; }

const Category* CategoryTable::Get(int id) const { return InRange(id) ? slots_[id].get() : nullptr; }

Category& CategoryTable::AddCategory(int id, int parent, std::string name, std::string description) {
  if (!InRange(id)) throw std::out_of_range("category id outside the table");
  auto category = std::make_unique<Category>();
  category->id = id;
  category->parent = parent;
  category->name = std::move(name);
  category->description = std::move(description);
  slots_[id] = std::move(category);
  return *slots_[id];
}

ProgramEntry& CategoryTable::AppendEntry(int categoryId, std::unique_ptr<ProgramEntry> entry) {
  Category* category = Get(categoryId);
  if (category == nullptr) throw std::out_of_range("no category in this slot");
  if (!entry) throw std::invalid_argument("null program entry");
  category->programs.push_back(std::move(entry));
  return *category->programs.back();
}

std::vector<const Category*> CategoryTable::Children(int parentId) const {
  std::vector<const Category*> children;
  for (const auto& slot : slots_) {
    if (slot && slot->parent == parentId) children.push_back(slot.get());
  }
  return children;
}

Category* CategoryTable::FindByListRow(int row) {
  if (row < 0) return nullptr;
  for (auto& slot : slots_) {
    if (slot && slot->listIndex == row) return slot.get();
  }
  return nullptr;
}

void CategoryTable::ResetListIndexes() {
  for (auto& slot : slots_) {
    if (slot) slot->listIndex = -1;
  }
}

bool CategoryTable::IsEmpty() const {
  for (const auto& slot : slots_) {
    if (slot) return false;
  }
  return true;
}
