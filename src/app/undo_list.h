#pragma once
// The undo history: the outer rectangles of changed windows, newest on top.
#include <memory>
#include <optional>

#include "core/geometry.h"

namespace wakumo {

struct UndoRecord {
  WindowHandle Handle = 0;
  // Outer rectangle, screen coordinates, read just before the change.
  wakumo::Rect Rect;
};

// Unbounded last-in first-out stack of records, one node per record, so a
// push or pop costs the same at any depth.
class CUndoList {
 public:
  CUndoList() = default;
  ~CUndoList();
  CUndoList(const CUndoList&) = delete;
  CUndoList& operator=(const CUndoList&) = delete;

  void Push(const UndoRecord& record);
  // The newest record, removed; nothing when the history is empty.
  std::optional<UndoRecord> Pop();
  bool IsEmpty() const { return top_ == nullptr; }

 private:
  struct Node {
    UndoRecord record;
    std::unique_ptr<Node> next;  // the next older record
  };
  std::unique_ptr<Node> top_;
};

}  // namespace wakumo
