#include <algorithm>
#include <cstdlib>
#include <ombrelis/ui/TraceRaster.h>

namespace ombrelis::ui {

void rasterizeLine(QImage& image, const PixelLine& line, QRgb colour) {
    const int width = image.width();
    const int height = image.height();
    if (width <= 0 || height <= 0) {
        return;
    }
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const auto plot = [&](int x, int y) {
        if (x >= 0 && x < width && y >= 0 && y < height) {
            reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
        }
    };
    int x = line.x1;
    int y = line.y1;
    const int dx = std::abs(line.x2 - line.x1);
    const int dy = -std::abs(line.y2 - line.y1);
    const int sx = line.x1 < line.x2 ? 1 : -1;
    const int sy = line.y1 < line.y2 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        plot(x, y);
        if (x == line.x2 && y == line.y2) {
            break;
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void TraceRaster::line(QImage& image, const PixelLine& line, QRgb colour) {
    const int top = std::min(line.y1, line.y2);
    const int bottom = std::max(line.y1, line.y2);
    if (line.x1 == line.x2) {
        // Joins the pending span when it shares the column and colour and touches it.
        if (pending_ && line.x1 == x_ && colour == colour_ && top <= bottom_ + 1 &&
            bottom >= top_ - 1) {
            top_ = std::min(top_, top);
            bottom_ = std::max(bottom_, bottom);
            return;
        }
        flush(image);
        pending_ = true;
        x_ = line.x1;
        top_ = top;
        bottom_ = bottom;
        colour_ = colour;
        return;
    }
    flush(image);
    rasterizeLine(image, line, colour);
}

void TraceRaster::flush(QImage& image) {
    if (!pending_) {
        return;
    }
    pending_ = false;
    rasterizeLine(image, PixelLine{x_, top_, x_, bottom_}, colour_);
}

} // namespace ombrelis::ui
