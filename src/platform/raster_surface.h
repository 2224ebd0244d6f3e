// The board's drawing surface: a retained RGB image with the few drawing
// operations the figure and the memo pen need. It knows nothing about widgets,
// so every pixel rule can be tested without a window.
//
// Coordinates are board pixels with the centre of pixel (i, j) at the real
// point (i, j); x grows to the right and y downwards. Everything drawn is
// clipped to the image; coordinates may lie anywhere, also far outside it.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRegion>
#include <QSize>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <vector>

namespace orvanel {

// Calls run(y, x0, x1) for each row of `area` with the columns x0..x1 whose
// pixel centres lie within `radius` of the segment from-to: a solid segment
// with round ends. Rows come in order; the cost depends on the part of the
// segment near `area`, not on its length.
void forEachCapsuleRun(QPointF from, QPointF to, double radius, const QRect& area,
                       const std::function<void(int y, int x0, int x1)>& run);

// Width and height of the board's drawing area in pixels.
inline constexpr QSize kBoardSize{802, 626};

// Ranges of columns [lo, hi] touched in bands of 16 rows: one hull a band.
class BandSpans {
public:
    static constexpr int kBandShift = 4;
    static constexpr int kBandRows = 1 << kBandShift;

    explicit BandSpans(int rows = 0);
    void add(int y, int x0, int x1) {
        const int band = y >> kBandShift;
        lo_[band] = std::min(lo_[band], x0);
        hi_[band] = std::max(hi_[band], x1);
    }
    // The same for every row from y0 to y1.
    void add(int y0, int y1, int x0, int x1) {
        for (int band = y0 >> kBandShift; band <= y1 >> kBandShift; ++band) {
            lo_[band] = std::min(lo_[band], x0);
            hi_[band] = std::max(hi_[band], x1);
        }
    }
    // Whether the band holding row y touched a column in [x0, x1].
    bool touches(int y, int x0, int x1) const {
        const int band = y >> kBandShift;
        return lo_[band] <= x1 && hi_[band] >= x0;
    }
    // Calls visit(QRect) for each touched band, clipped to `rows` rows.
    template <typename Visit> void forEachRect(int rows, Visit visit) const {
        for (std::size_t band = 0; band < lo_.size(); ++band) {
            if (lo_[band] <= hi_[band]) {
                const int top = int(band) << kBandShift;
                visit(QRect(lo_[band], top, hi_[band] - lo_[band] + 1,
                            std::min(kBandRows, rows - top)));
            }
        }
    }
    void reset();

private:
    std::vector<int> lo_;
    std::vector<int> hi_;
};

// Where something was painted since the last reset: for each row and each
// block of 128 columns, the range of columns [lo, hi] touched, so two marks far
// apart in one row do not make the row's whole stretch between them count.
// Bands of rows keep the hull of their rows, so untouched stretches of rows
// are passed over at once.
class RowSpans {
public:
    static constexpr int kBlockShift = 7;

    RowSpans(int rows, int columns);
    void add(int y, int x0, int x1) {
        for (int block = x0 >> kBlockShift; block <= x1 >> kBlockShift; ++block) {
            const int first = std::max(x0, block << kBlockShift);
            const int last = std::min(x1, ((block + 1) << kBlockShift) - 1);
            Span& span = spans_[y * blocks_ + block];
            span.lo = std::min(span.lo, first);
            span.hi = std::max(span.hi, last);
        }
        bands_.add(y, x0, x1);
    }
    const BandSpans& bands() const { return bands_; }
    // Calls visit(x0, x1) for the touched parts of columns [x0, x1] of row y.
    template <typename Visit> void forEachTouched(int y, int x0, int x1, Visit visit) const {
        for (int block = x0 >> kBlockShift; block <= x1 >> kBlockShift; ++block) {
            const Span& span = spans_[y * blocks_ + block];
            const int first = std::max(x0, span.lo);
            const int last = std::min(x1, span.hi);
            if (first <= last) {
                visit(first, last);
            }
        }
    }
    bool touched(int y, int x) const {
        const Span& span = spans_[y * blocks_ + (x >> kBlockShift)];
        return x >= span.lo && x <= span.hi;
    }
    // Calls visit(y, lo, hi) for every touched range, then forgets them all.
    template <typename Visit> void drain(Visit visit) {
        bands_.forEachRect(rows_, [&](const QRect& band) {
            for (int y = band.top(); y <= band.bottom(); ++y) {
                for (int block = band.left() >> kBlockShift; block <= band.right() >> kBlockShift;
                     ++block) {
                    Span& span = spans_[y * blocks_ + block];
                    if (span.lo <= span.hi) {
                        visit(y, span.lo, span.hi);
                        span = Span{};
                    }
                }
            }
        });
        bands_.reset();
    }

private:
    struct Span {
        int lo = INT_MAX;
        int hi = INT_MIN;
    };
    int rows_;
    int blocks_;
    std::vector<Span> spans_;
    BandSpans bands_;
};

class RasterSurface {
public:
    enum class FillStyle { Solid, Transparent };

    explicit RasterSurface(QSize size = kBoardSize, QRgb background = qRgb(0, 128, 0));

    QSize size() const { return image_.size(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    QRgb background() const { return background_; }
    const QImage& image() const { return image_; }
    QRgb pixel(int x, int y) const { return image_.pixel(x, y) | 0xff000000u; }

    // Erases everything drawn to the background colour. Only rows and columns
    // that hold a non-background pixel are touched, which gives the same image
    // as filling the whole surface at a fraction of the cost.
    void clear();

    int lineWidth() const { return lineWidth_; }
    void setLineWidth(int width) { lineWidth_ = width < 1 ? 1 : width; }
    FillStyle fillStyle() const { return fillStyle_; }
    void setFillStyle(FillStyle style) { fillStyle_ = style; }
    QRgb fillColor() const { return fillColor_; }
    void setFillColor(QRgb color) { fillColor_ = color | 0xff000000u; }

    // A solid segment at the current line width. At width 1 it is the
    // 8-connected digital line between the rounded ends, both ends included and
    // independent of the direction it is drawn in, so a fill cannot slip
    // through it and two segments from one vertex always share that vertex's
    // pixel. Wider segments cover every pixel whose centre lies within half the
    // width of the real segment (round ends).
    void drawSegment(QPointF from, QPointF to, QRgb color);

    // Only the pixels of that segment that lie within `within`: exactly the
    // full segment's pixels there, at a cost that depends on `within` alone.
    void drawSegment(QPointF from, QPointF to, QRgb color, const QRect& within);

    // A circle outline around the rounded centre at the current line width.
    // At width 1 it is the closed 8-connected midpoint circle. While the fill
    // style is solid the inside is first filled with the fill colour.
    void drawCircle(QPointF centre, double radius, QRgb color);

    // Paints with the fill colour the start pixel and every pixel reachable
    // from it through left/right/up/down neighbours without crossing a pixel of
    // the border colour. Returns false, painting nothing, when the start pixel
    // lies off the surface or has the border colour.
    bool floodFill(QPoint start, QRgb border);

    // Calls visit(QRect) for rectangles covering every pixel changed since
    // the previous call, then forgets them; for repainting the screen.
    template <typename Visit> void takeChangedRects(Visit visit) {
        changed_.forEachRect(height(), visit);
        changed_.reset();
    }
    // The same as one region.
    QRegion takeChangedRegion();

private:
    // Writes go through pixels(), which detaches the image from any copy
    // handed out by image(), once per drawing operation.
    QRgb* pixels() { return reinterpret_cast<QRgb*>(image_.bits()); }
    void writeRun(QRgb* base, int y, int x0, int x1, QRgb color) {
        // Painting the background colour can change only pixels painted since
        // the last clear, so only that part of the run is written.
        QRgb* row = base + y * stride_;
        if (color == background_) {
            painted_.forEachTouched(y, x0, x1, [&](int first, int last) {
                std::fill(row + first, row + last + 1, color);
                changed_.add(y, first, last);
            });
            return;
        }
        painted_.add(y, x0, x1);
        std::fill(row + x0, row + x1 + 1, color);
        changed_.add(y, x0, x1);
    }
    void drawThinSegment(QPointF from, QPointF to, QRgb color, QRect within);
    void drawWideSegment(QPointF from, QPointF to, double radius, QRgb color);

    QImage image_;
    qsizetype stride_; // pixels per row
    QRgb background_;
    int lineWidth_ = 1;
    FillStyle fillStyle_ = FillStyle::Transparent;
    QRgb fillColor_ = qRgb(0, 0, 0);
    RowSpans painted_;  // where non-background pixels may be
    BandSpans changed_; // what changed since the last takeChangedRects()

    // Flood fill work space, kept between calls.
    struct Seed {
        int x, y;
        int parentY, parentLeft, parentRight; // the span the seed was found from
    };
    std::vector<Seed> seeds_;
    struct Span {
        int y, x0, x1;
    };
    std::vector<Span> filled_;
};

} // namespace orvanel
