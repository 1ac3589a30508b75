#pragma once
// Plain-data node list behind the server tree and the filter list. Node
// indexes count from 1 in insertion order; keys are unique and compared
// exactly (case-sensitive, as the server compares names). Adding is O(1)
// amortised so that big servers fill linearly.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace desktop {

// Images of the shared image list.
constexpr int ImageApplication = 1;
constexpr int ImageDatabase = 3;
constexpr int ImageMarkedDatabase = 4;

struct Node {
  std::string key;
  std::string text;
  int parent = 0;  // index of the parent node, 0 for a top-level node
  int image = 0;
  int selectedImage = 0;  // 0 = not set
  bool checked = false;
};

// Lets a view follow the list. Every change made through NodeList is
// reported, including those a view makes itself (a user ticking a box), so an
// adapter must ignore a change that matches what it already shows. Emptying
// and adding are announced before they happen as well, so that a view can
// read the list itself instead of keeping a copy of its shape.
class NodeListObserver {
 public:
  virtual ~NodeListObserver() = default;
  virtual void AboutToReset() {}
  virtual void AboutToAdd(int /*parent*/, int /*row*/) {}  // row among parent's children
  virtual void ListGone() {}                               // the list is being destroyed
  virtual void Reset() = 0;                                // emptied
  virtual void Added(int index) = 0;                       // node appended at index
  virtual void Changed(int index) = 0;                     // text, image or check box of a node
  virtual void StateChanged() = 0;                         // selection, visible, enabled or width
};

class NodeList {
 public:
  NodeList();
  ~NodeList();
  NodeList(const NodeList&) = delete;
  NodeList& operator=(const NodeList&) = delete;

  // Empty the list (and clear the selection).
  void Clear();
  // Appends a node; parentKey empty = top level. Returns the new index, or 0
  // (nothing added) when parentKey names no node or key is already used.
  int Add(std::string_view parentKey, std::string key, std::string text, int image,
          int selectedImage = 0);
  int Count() const { return static_cast<int>(nodes_.size()); }
  // Index of the node with that key, 0 when there is none.
  int Find(std::string_view key) const;

  // Reading an index outside 1..Count() gives an empty value; writing one is
  // refused (false).
  bool Valid(int index) const { return index >= 1 && index <= Count(); }
  const Node* At(int index) const { return Valid(index) ? &nodes_[index - 1] : nullptr; }
  std::string Text(int index) const;
  std::string Key(int index) const;
  int Parent(int index) const;
  int Image(int index) const;
  int SelectedImage(int index) const;
  bool Checked(int index) const;
  bool SetText(int index, std::string text);
  bool SetImage(int index, int image);
  bool SetChecked(int index, bool checked);

  // The tree's shape: children of a node (0 = the top level) in insertion
  // order, and a node's row among its parent's children.
  int ChildCount(int parent) const;
  int Child(int parent, int row) const;  // 0 when there is no such row
  int Row(int index) const;              // -1 for an index outside the list

  // Selected node, 0 when none.
  int Selected() const { return selected_; }
  bool Select(int index);  // 0 clears the selection

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Width() const { return width_; }
  // Twips; a negative width is refused (false) and the old one kept.
  bool SetWidth(int twips);

  // Compact text for tests, one line per node:
  //   index|key|text|parent|image|selectedImage|x (ticked) or - (not)
  std::string Dump() const;

  void SetObserver(NodeListObserver* observer) { observer_ = observer; }

 private:
  // Key index: open addressing over node indexes, with each key's hash kept
  // in its slot so that looking up a new key rarely touches a node. Small
  // enough to stay in cache where a node-based map would not, which keeps
  // filling a list of tens of thousands linear in practice, not just on paper.
  struct Slot {
    uint32_t hash = 0;
    int index = 0;  // 0 = empty
  };
  // The slot holding key, or the empty slot where it would go.
  size_t Probe(std::string_view key, uint32_t hash) const;
  void Grow();

  std::vector<Node> nodes_;
  std::vector<std::vector<int>> children_;  // by node index, [0] the top level
  std::vector<int> rows_;                   // by node index, [0] unused
  std::vector<Slot> slots_;                 // size a power of two, at most half full
  int selected_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  int width_ = 0;
  NodeListObserver* observer_ = nullptr;
};

}  // namespace desktop
