#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One program of the disc, built from a block of the program list.
struct ProgramEntry {
  std::string title;
  std::string directory;
  std::string descriptionPath;
  // Absent, not empty, when the program list gives none: presence is what enables the copy default, the
  // install button and the run button.
  std::optional<std::string> copyDestination;
  std::optional<std::string> installPath;
  std::optional<std::string> runPath;
};

struct Category {
  int id = 0;
  std::string name;
  std::string description;
  int parent = -1;
  int listIndex = -1;
  // In program-list order. Entries are held by pointer so that the list rows can point at them for as long as
  // the catalogue is loaded, however many entries are appended later.
  std::vector<std::unique_ptr<ProgramEntry>> programs;
};

// The category tree: a fixed table indexed by category id, with parent links instead of child lists.
class CategoryTable {
 public:
  static constexpr int kSlotCount = 2048;

  // Leaves every slot empty and frees what the slots held.
  void Clear();

  // nullptr for an empty slot or an id outside 0..kSlotCount-1.
  Category* Get(int id);
  const Category* Get(int id) const;

  // Replaces whatever the slot held, programs included. Throws std::out_of_range for an id outside the table.
  Category& AddCategory(int id, int parent, std::string name, std::string description);
  // Appends at the tail of the category's programs. Throws std::out_of_range when the slot is empty or
  // outside the table, std::invalid_argument for a null entry.
  ProgramEntry& AppendEntry(int categoryId, std::unique_ptr<ProgramEntry> entry);

  // Categories whose parent is parentId, in increasing id order.
  std::vector<const Category*> Children(int parentId) const;

  // First category in id order whose listIndex is row. A negative row (a list box with no selection answers
  // -1) matches nothing, although every category that is not shown carries -1.
  Category* FindByListRow(int row);
  void ResetListIndexes();

  bool IsEmpty() const;

 private:
  std::array<std::unique_ptr<Category>, kSlotCount> slots_;
};
