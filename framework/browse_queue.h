#pragma once
// BrowseQueue: the rows of a browse's list: one entry per visible row of its page.
//
// The program declares the list's queue as a record (the queue buffer, e.g. `Queue:Browse:1`
// with its fields and VIEWPOSITION); the queue keeps a copy of that buffer per entry. Get copies
// an entry into the buffer; Add, Insert and Put store the buffer. Beside each entry the queue
// keeps the view row it came from (its position and the records of every table of the view), so
// the browse can re-read it, seek from it or page from it; a row added by hand (a new row of the
// in-list editor) has none until it is stored.
//
// Entries are numbered from 1. Operations on a missing entry do nothing and return false.
// Owned by a window procedure; used on its thread only.

#include <cstddef>
#include <string>
#include <vector>

#include "framework/view_manager.h"

namespace fw {

class BrowseQueue {
 public:
  BrowseQueue(void* buffer, std::size_t size) : buffer_(static_cast<unsigned char*>(buffer)), size_(size) {}
  template <class T>
  explicit BrowseQueue(T& buffer) : BrowseQueue(&buffer, sizeof buffer) {}
  BrowseQueue(const BrowseQueue&) = delete;
  BrowseQueue& operator=(const BrowseQueue&) = delete;

  int Records() const { return static_cast<int>(entries_.size()); }
  bool Get(int i);                                // entry i into the buffer
  void Add(ViewRow row = {});                      // the buffer as a new last entry
  bool Insert(int i, ViewRow row = {});            // before entry i (Records()+1: at the end)
  bool Put(int i);                                 // the buffer over entry i (its view row stays)
  bool Delete(int i);
  void Free();

  const ViewRow& Row(int i) const;                 // the view row of entry i (empty when none)
  bool SetRow(int i, ViewRow row);
  // The stored bytes of entry i (empty when there is no such entry).
  std::string Entry(int i) const;

  unsigned char* Buffer() const { return buffer_; }
  std::size_t Size() const { return size_; }

 private:
  bool valid(int i) const { return i >= 1 && i <= Records(); }
  struct Item {
    std::string bytes;
    ViewRow row;
  };
  unsigned char* buffer_;
  std::size_t size_;
  std::vector<Item> entries_;
};

}  // namespace fw
