#include "app/undo_list.h"

namespace wakumo {

CUndoList::~CUndoList() {
  // Unlink one node at a time: letting the chain of owners free itself would
  // recurse once per record and can exhaust the stack on a long history.
  while (top_) top_ = std::move(top_->next);
}

void CUndoList::Push(const UndoRecord& record) {
  auto node = std::make_unique<Node>();
  node->record = record;
  node->next = std::move(top_);
  top_ = std::move(node);
}

std::optional<UndoRecord> CUndoList::Pop() {
  if (!top_) return std::nullopt;
  UndoRecord record = top_->record;
  top_ = std::move(top_->next);
  return record;
}

}  // namespace wakumo
