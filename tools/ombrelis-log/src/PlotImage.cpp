#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <ombrelis/chart/Colours.h>
#include <ombrelis/logtool/Output.h>
#include <ombrelis/logtool/PlotImage.h>
#include <ombrelis/logtool/PlotLayout.h>
#include <ombrelis/logtool/PlotTrace.h>

namespace ombrelis::logtool {

namespace {

const QColor kPaper(255, 255, 255);
const QColor kInk(32, 32, 32);
// The live chart's colours.
const auto kChartBackground = chart::toRgb<QColor>(chart::kBackground);
const auto kTrace = chart::toRgb<QColor>(chart::kTraceColour);
const auto kGrid = chart::toRgb<QColor>(chart::kGridColour);

QFont fontOfSize(double pixels, bool bold = false) {
    QFont font;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

void drawTitle(QPainter& painter, const PlotLayout& layout, const std::string& title) {
    painter.setPen(kInk);
    painter.setFont(fontOfSize(layout.fontPixels * 1.15, true));
    const QRectF band(0, 0, layout.imageWidth, layout.area.top);
    painter.drawText(band, Qt::AlignCenter, QString::fromStdString(title));
}

void drawChart(QPainter& painter, const PlotLayout& layout) {
    const PixelRect& a = layout.area;
    painter.fillRect(QRectF(a.left, a.top, a.width, a.height), kChartBackground);
    QPen grid(kGrid, std::max(1.0, std::round(layout.fontPixels / 8)));
    grid.setDashPattern({2, 3}); // dotted like the live chart, but dense enough to read on paper
    painter.setPen(grid);
    for (const double volts : layout.gridVolts) {
        const double y = std::round(layout.yOf(volts)) + 0.5;
        painter.drawLine(QPointF(a.left, y), QPointF(a.right(), y));
    }
}

void drawAxes(QPainter& painter, const PlotLayout& layout) {
    const PixelRect& a = layout.area;
    const double f = layout.fontPixels;
    painter.setPen(kInk);
    painter.setFont(fontOfSize(f));
    for (const AxisTick& tick : layout.voltTicks) {
        painter.drawLine(QPointF(a.left - 0.4 * f, tick.pixel), QPointF(a.left, tick.pixel));
        const QRectF box(0, tick.pixel - f, a.left - 0.6 * f, 2 * f);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromStdString(tick.label));
    }
    for (const AxisTick& tick : layout.timeTicks) {
        painter.drawLine(QPointF(tick.pixel, a.bottom()),
                         QPointF(tick.pixel, a.bottom() + 0.4 * f));
        const QRectF box(tick.pixel - 4 * f, a.bottom() + 0.5 * f, 8 * f, 1.4 * f);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(tick.label));
    }
    const QRectF axisTitle(a.left, a.bottom() + 1.9 * f, a.width, 1.4 * f);
    painter.drawText(axisTitle, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("temps (s)"));
}

void drawTrace(QPainter& painter, const PlotLayout& layout, const PlotTrace& trace) {
    const PixelRect& a = layout.area;
    painter.save();
    painter.setClipRect(QRectF(a.left, a.top, a.width, a.height));
    if (trace.records() == 0) {
        painter.setPen(QColor(200, 200, 200));
        painter.setFont(fontOfSize(layout.fontPixels * 1.5));
        painter.drawText(QRectF(a.left, a.top, a.width, a.height), Qt::AlignCenter,
                         QStringLiteral("aucune mesure"));
        painter.restore();
        return;
    }
    const std::vector<PlotPoint> points = trace.points(layout);
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const PlotPoint& p : points) {
        // On a pixel row's centre, so that a level stretch is one row of full colour.
        polygon.append(QPointF(p.x, std::floor(p.y) + 0.5));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (polygon.size() == 1) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kTrace);
        painter.drawEllipse(polygon.front(), 2.0, 2.0);
    } else {
        // A one-pixel cosmetic pen takes Qt's direct line drawer. A wider pen is stroked into a
        // path first, which on a noisy log (a column-high zigzag in every pixel column) costs
        // seconds instead of milliseconds.
        QPen pen(kTrace, 1.0);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawPolyline(polygon);
    }
    painter.restore();
}

/// Qt's own messages (a missing XDG_RUNTIME_DIR, a font it falls back from) are written for
/// developers, in English: the tool's user gets the tool's French messages only.
void keepForDevelopers(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

OffscreenGui::OffscreenGui(int& argc, char** argv) {
    qInstallMessageHandler(keepForDevelopers);
#ifndef _WIN32
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#endif
    if (QGuiApplication::instance() == nullptr) {
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
}

OffscreenGui::~OffscreenGui() = default;

QImage renderPlot(const PlotTrace& trace, const std::string& title, int width, int height) {
    QImage image(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    image.fill(kPaper);
    const auto [first, last] = trace.timeSpanSeconds();
    const PlotLayout layout = layoutPlot(image.width(), image.height(), first, last);

    QPainter painter(&image);
    drawTitle(painter, layout, title);
    drawChart(painter, layout);
    drawTrace(painter, layout, trace);
    drawAxes(painter, layout);
    return image;
}

std::optional<std::string> savePlotPng(const PlotTrace& trace, const PlotRequest& request) {
    const QImage image = renderPlot(trace, request.title, request.width, request.height);
    // Encoded in memory and written by the tool's own calls, which give the system's reason
    // in French where Qt's file classes would give it in English.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return std::string("l'encodage de l'image en PNG a échoué");
    }
    return replaceFileWith(request.outputPath,
                           std::span(reinterpret_cast<const std::uint8_t*>(png.constData()),
                                     static_cast<std::size_t>(png.size())));
}

} // namespace ombrelis::logtool
