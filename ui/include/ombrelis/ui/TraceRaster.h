#pragma once

#include <QImage>
#include <ombrelis/ui/PixelMapping.h>

namespace ombrelis::ui {

/// Writes a solid one-pixel line, both ends included, straight into an RGB32 image; pixels
/// outside the image are skipped.
void rasterizeLine(QImage& image, const PixelLine& line, QRgb colour);

/// The trace's solid lines. At short periods thousands of samples fall into one pixel column,
/// each a vertical line joined to the last: those are merged into one span, written when the
/// trace leaves the column or the image is needed. The pixels are exactly those that
/// rasterizeLine would give for each line in turn.
class TraceRaster {
public:
    void line(QImage& image, const PixelLine& line, QRgb colour);
    /// Writes the pending span, if any.
    void flush(QImage& image);
    /// Forgets the pending span: the image was cleared or replaced.
    void discard() noexcept { pending_ = false; }

private:
    bool pending_ = false;
    int x_ = 0;
    int top_ = 0;
    int bottom_ = 0;
    QRgb colour_ = 0;
};

} // namespace ombrelis::ui
