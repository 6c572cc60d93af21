#include "framework/browse_queue.h"

#include <cstring>

namespace fw {

bool BrowseQueue::Get(int i) {
  if (!valid(i)) return false;
  std::memcpy(buffer_, entries_[i - 1].bytes.data(), size_);
  return true;
}

void BrowseQueue::Add(ViewRow row) {
  entries_.push_back({std::string(reinterpret_cast<const char*>(buffer_), size_), std::move(row)});
}

bool BrowseQueue::Insert(int i, ViewRow row) {
  if (i < 1 || i > Records() + 1) return false;
  entries_.insert(entries_.begin() + (i - 1), Item{std::string(reinterpret_cast<const char*>(buffer_), size_), std::move(row)});
  return true;
}

bool BrowseQueue::Put(int i) {
  if (!valid(i)) return false;
  entries_[i - 1].bytes.assign(reinterpret_cast<const char*>(buffer_), size_);
  return true;
}

bool BrowseQueue::Delete(int i) {
  if (!valid(i)) return false;
  entries_.erase(entries_.begin() + (i - 1));
  return true;
}

void BrowseQueue::Free() { entries_.clear(); }

const ViewRow& BrowseQueue::Row(int i) const {
  static const ViewRow none;
  return valid(i) ? entries_[i - 1].row : none;
}

bool BrowseQueue::SetRow(int i, ViewRow row) {
  if (!valid(i)) return false;
  entries_[i - 1].row = std::move(row);
  return true;
}

std::string BrowseQueue::Entry(int i) const { return valid(i) ? entries_[i - 1].bytes : std::string(); }

}  // namespace fw
