#pragma once
// The shared image list of both lists, drawn at run time. Indexes count from
// 1 as the node lists store them; 2 exists but nothing shows it. Each call
// draws afresh: holders keep their own copies.
#include <QPixmap>

namespace quorvel::qt {

constexpr int ImageCount = 4;
constexpr int ImageSize = 16;

// An empty pixmap for an index outside 1..ImageCount (a node without image).
// size: edge in pixels; the pictures are drawn for ImageSize and scaled smoothly.
QPixmap ListImage(int index, int size = ImageSize);

}  // namespace quorvel::qt
