#include "ui/widgets/PictureArea.h"

namespace tovali {

PictureArea::PictureArea(Painter painter, int width, int height) : m_painter(std::move(painter)) {
  set_size_request(width, height);
}

bool PictureArea::on_draw(const Cairo::RefPtr<Cairo::Context>& cr) {
  if (m_painter) m_painter(cr, get_allocated_width(), get_allocated_height());
  return true;
}

}  // namespace tovali
