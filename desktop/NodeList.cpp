#include "NodeList.h"

namespace desktop {

void NodeList::Clear() {
  nodes_.clear();
  byKey_.clear();
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
  const int index = Count() + 1;
  if (!byKey_.try_emplace(key, index).second) return 0;
  nodes_.push_back({std::move(key), std::move(text), parent, image, selectedImage, false});
  if (observer_) observer_->Added(index);
  return index;
}

int NodeList::Find(std::string_view key) const {
  auto it = byKey_.find(std::string(key));
  return it == byKey_.end() ? 0 : it->second;
}

std::string NodeList::Text(int index) const { return Valid(index) ? At(index)->text : ""; }
std::string NodeList::Key(int index) const { return Valid(index) ? At(index)->key : ""; }
int NodeList::Parent(int index) const { return Valid(index) ? At(index)->parent : 0; }
int NodeList::Image(int index) const { return Valid(index) ? At(index)->image : 0; }
int NodeList::SelectedImage(int index) const {
  return Valid(index) ? At(index)->selectedImage : 0;
}
bool NodeList::Checked(int index) const { return Valid(index) && At(index)->checked; }

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
