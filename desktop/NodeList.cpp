#include "desktop/NodeList.h"

#include <algorithm>
#include <functional>

namespace desktop {

namespace {

uint32_t HashOf(std::string_view key) {
  const size_t h = std::hash<std::string_view>{}(key);
  return static_cast<uint32_t>(h ^ (h >> 32));
}

}  // namespace

size_t NodeList::Probe(std::string_view key, uint32_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& s = slots_[i];
    if (s.index == 0 || (s.hash == hash && nodes_[s.index - 1].key == key)) return i;
  }
}

void NodeList::Grow() {
  std::vector<Slot> old(std::max<size_t>(16, slots_.size() * 2));
  old.swap(slots_);
  const size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (s.index == 0) continue;
    size_t i = s.hash & mask;
    while (slots_[i].index != 0) i = (i + 1) & mask;
    slots_[i] = s;
  }
}

NodeList::NodeList() : children_(1), rows_(1, 0) {}

NodeList::~NodeList() {
  if (observer_) observer_->ListGone();
}

void NodeList::Clear() {
  if (observer_) observer_->AboutToReset();
  nodes_.clear();
  children_.assign(1, {});
  rows_.assign(1, 0);
  std::fill(slots_.begin(), slots_.end(), Slot{});
  selected_ = 0;
  if (observer_) observer_->Reset();
}

int NodeList::Add(std::string_view parentKey, std::string key, std::string text, int image,
                  int selectedImage) {
  int parent = 0;
  if (!parentKey.empty()) {
    parent = Find(parentKey);
    if (parent == 0) return 0;
  }
  if ((nodes_.size() + 1) * 2 > slots_.size()) Grow();
  const uint32_t hash = HashOf(key);
  Slot& slot = slots_[Probe(key, hash)];
  if (slot.index != 0) return 0;
  const int index = Count() + 1;
  std::vector<int>& siblings = children_[static_cast<size_t>(parent)];
  if (observer_) observer_->AboutToAdd(parent, static_cast<int>(siblings.size()));
  slot = {hash, index};
  rows_.push_back(static_cast<int>(siblings.size()));
  siblings.push_back(index);
  children_.emplace_back();
  nodes_.push_back({std::move(key), std::move(text), parent, image, selectedImage, false});
  if (observer_) observer_->Added(index);
  return index;
}

int NodeList::Find(std::string_view key) const {
  if (slots_.empty()) return 0;
  return slots_[Probe(key, HashOf(key))].index;
}

int NodeList::ChildCount(int parent) const {
  if (parent != 0 && !Valid(parent)) return 0;
  return static_cast<int>(children_[static_cast<size_t>(parent)].size());
}

int NodeList::Child(int parent, int row) const {
  if (row < 0 || row >= ChildCount(parent)) return 0;
  return children_[static_cast<size_t>(parent)][static_cast<size_t>(row)];
}

int NodeList::Row(int index) const {
  return Valid(index) ? rows_[static_cast<size_t>(index)] : -1;
}

std::string NodeList::Text(int index) const {
  return Valid(index) ? At(index)->text : "";
}
std::string NodeList::Key(int index) const {
  return Valid(index) ? At(index)->key : "";
}
int NodeList::Parent(int index) const {
  return Valid(index) ? At(index)->parent : 0;
}
int NodeList::Image(int index) const {
  return Valid(index) ? At(index)->image : 0;
}
int NodeList::SelectedImage(int index) const {
  return Valid(index) ? At(index)->selectedImage : 0;
}
bool NodeList::Checked(int index) const {
  return Valid(index) && At(index)->checked;
}

bool NodeList::SetText(int index, std::string text) {
  if (!Valid(index)) return false;
  nodes_[index - 1].text = std::move(text);
  if (observer_) observer_->Changed(index);
  return true;
}

bool NodeList::SetImage(int index, int image) {
  if (!Valid(index)) return false;
  nodes_[index - 1].image = image;
  if (observer_) observer_->Changed(index);
  return true;
}

bool NodeList::SetChecked(int index, bool checked) {
  if (!Valid(index)) return false;
  nodes_[index - 1].checked = checked;
  if (observer_) observer_->Changed(index);
  return true;
}

bool NodeList::Select(int index) {
  if (index != 0 && !Valid(index)) return false;
  selected_ = index;
  if (observer_) observer_->StateChanged();
  return true;
}

void NodeList::SetVisible(bool visible) {
  visible_ = visible;
  if (observer_) observer_->StateChanged();
}

void NodeList::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (observer_) observer_->StateChanged();
}

bool NodeList::SetWidth(int twips) {
  if (twips < 0) return false;
  width_ = twips;
  if (observer_) observer_->StateChanged();
  return true;
}

std::string NodeList::Dump() const {
  std::string out;
  for (int i = 1; i <= Count(); ++i) {
    const Node& n = nodes_[i - 1];
    out += std::to_string(i) + "|" + n.key + "|" + n.text + "|" + std::to_string(n.parent) + "|" +
           std::to_string(n.image) + "|" + std::to_string(n.selectedImage) + "|" +
           (n.checked ? "x" : "-") + "\n";
  }
  return out;
}

}  // namespace desktop
