// Draws every picture the program shows: the tree's and the tool bar's image lists (at 100 %
// and 200 %), the program icon (16 colours, plus a scalable SVG and desktop PNGs) and the
// About box logo (a baseline JPEG). Everything is drawn from the shapes below, text only from
// the font file named at build time, so the output is the same on every run.
//
//   draw_images <source root>    writes quillmar/images/, quillmar/icons/ and about/logo.jpg

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <functional>
#include <jpeglib.h>
#include <numbers>
#include <vector>

namespace {

using Draw = std::function<void(QPainter &)>;

// Draws at `scale` times `size` logical units; with antialiasing, fills on whole units and
// one-unit lines on half units stay crisp at every whole scale.
QImage render(int width, int height, int scale, bool antialias, const Draw &draw)
{
    QImage image(width * scale, height * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialias);
    painter.scale(scale, scale);
    draw(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QPen pen(const QColor &colour, qreal width, Qt::PenCapStyle cap = Qt::FlatCap,
         Qt::PenJoinStyle join = Qt::MiterJoin)
{
    return QPen(colour, width, Qt::SolidLine, cap, join);
}

// A checker of one-unit cells inside `area`.
void checker(QPainter &p, const QPainterPath &area, const QColor &a, const QColor &b)
{
    p.save();
    p.setClipPath(area);
    const QRectF bounds = area.boundingRect();
    for (int y = int(std::floor(bounds.top())); y < bounds.bottom(); ++y)
        for (int x = int(std::floor(bounds.left())); x < bounds.right(); ++x)
            p.fillRect(QRectF(x, y, 1, 1), ((x + y) & 1) ? b : a);
    p.restore();
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// A question mark of height `h` centred on (cx, cy).
void questionMark(QPainter &p, qreal cx, qreal cy, qreal h, const QColor &colour, qreal width)
{
    QPainterPath hook;
    hook.moveTo(cx - 0.26 * h, cy - 0.2 * h);
    hook.cubicTo(cx - 0.26 * h, cy - 0.56 * h, cx + 0.3 * h, cy - 0.56 * h, cx + 0.27 * h,
                 cy - 0.22 * h);
    hook.cubicTo(cx + 0.25 * h, cy - 0.02 * h, cx, cy - 0.02 * h, cx, cy + 0.2 * h);
    p.strokePath(hook, pen(colour, width, Qt::FlatCap, Qt::RoundJoin));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(cx, cy + 0.38 * h), width * 0.6, width * 0.6);
}

// A W inside `box`, slanted to the right by `slant` (horizontal shift per unit of height).
void letterW(QPainter &p, const QRectF &box, const QColor &colour, qreal width, qreal slant)
{
    const qreal l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
    const qreal w = box.width();
    QPainterPath path;
    path.moveTo(l, t);
    path.lineTo(l + 0.22 * w, b);
    path.lineTo(l + 0.5 * w, t + 0.35 * box.height());
    path.lineTo(r - 0.22 * w, b);
    path.lineTo(r, t);
    QTransform shear;
    shear.translate(0, box.center().y());
    shear.shear(-slant, 0);
    shear.translate(0, -box.center().y());
    p.strokePath(shear.map(path), pen(colour, width));
}

// ---- The 16 x 16 list ----------------------------------------------------------------

const QColor kBlack(0, 0, 0), kWhite(255, 255, 255), kGrey(128, 128, 128), kSilver(192, 192, 192);
const QColor kYellow(255, 255, 0), kBlue(0, 0, 255), kNavy(0, 0, 128), kTeal(0, 128, 128);
const QColor kMaroon(128, 0, 0), kViolet(88, 72, 200), kDarkViolet(40, 24, 120);
const QColor kFolder(255, 214, 64);

void sheet(QPainter &p)
{
    const QPainterPath outline =
        polygon({{2.5, 0.5}, {10.5, 0.5}, {13.5, 3.5}, {13.5, 15.5}, {2.5, 15.5}});
    checker(p, outline, kYellow, kWhite);
    p.fillPath(polygon({{10.5, 0.5}, {10.5, 3.5}, {13.5, 3.5}}), kWhite);
    p.strokePath(outline, pen(kBlack, 1));
    QPainterPath fold;
    fold.moveTo(10.5, 0.5);
    fold.lineTo(10.5, 3.5);
    fold.lineTo(13.5, 3.5);
    p.strokePath(fold, pen(kBlack, 1));
    for (int row = 0; row < 4; ++row)
        for (int x = 4; x <= 10; x += 3)
            p.fillRect(QRectF(x, 6 + 2 * row, 2, 1), kBlue);
}

void closedFolder(QPainter &p, bool checkered, qreal s = 1)
{
    p.save();
    p.scale(s, s);
    const QPainterPath body =
        polygon({{1.5, 3.5}, {6.5, 3.5}, {7.5, 4.5}, {13.5, 4.5}, {13.5, 13.5}, {1.5, 13.5}});
    if (checkered)
        checker(p, body, kYellow, kWhite);
    else
        p.fillPath(body, kFolder);
    p.fillRect(QRectF(14, 5, 1, 9), kGrey);
    p.fillRect(QRectF(2, 14, 13, 1), kGrey);
    p.strokePath(body, pen(kBlack, 1));
    p.restore();
}

void openFolder(QPainter &p)
{
    const QPainterPath back =
        polygon({{1.5, 2.5}, {5.5, 2.5}, {6.5, 3.5}, {12.5, 3.5}, {12.5, 7.5}, {1.5, 14.5}});
    checker(p, back, kYellow, kWhite);
    p.strokePath(back, pen(kGrey, 1));
    const QPainterPath front = polygon({{1.5, 14.5}, {4.5, 7.5}, {15.5, 7.5}, {12.5, 14.5}});
    checker(p, front, kYellow, kWhite);
    p.strokePath(front, pen(kBlack, 1));
    p.fillRect(QRectF(13, 14, 2, 1), kBlack);
    p.fillRect(QRectF(15, 9, 1, 5), QColor(64, 64, 64));
}

void magnifier(QPainter &p, QPointF centre, qreal radius, qreal ring, QPointF handleEnd,
               qreal handle)
{
    p.setPen(pen(QColor(240, 140, 0), handle, Qt::RoundCap));
    const QPointF direction =
        (handleEnd - centre) / std::hypot(handleEnd.x() - centre.x(), handleEnd.y() - centre.y());
    p.drawLine(centre + direction * (radius + ring / 2), handleEnd);
    p.setPen(pen(kGrey, ring));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(centre, radius, radius);
}

void floppy(QPainter &p, qreal s, bool shutter)
{
    p.save();
    p.scale(s, s);
    const QPainterPath body =
        polygon({{1.5, 1.5}, {13.5, 1.5}, {14.5, 2.5}, {14.5, 14.5}, {1.5, 14.5}});
    p.fillPath(body, kViolet);
    p.strokePath(body, pen(kDarkViolet, 1));
    p.fillRect(QRectF(4, 2, 8, 6), kWhite);
    p.fillRect(QRectF(5, 3.5, 6, 0.5), kSilver);
    p.fillRect(QRectF(5, 5.5, 6, 0.5), kSilver);
    if (shutter) {
        p.fillRect(QRectF(4.5, 10, 7, 4.5), kSilver);
        p.fillRect(QRectF(9, 10.5, 1.5, 3.5), kGrey);
    } else {
        p.fillRect(QRectF(5, 11, 6, 3), kDarkViolet);
    }
    p.restore();
}

void checkerW(QPainter &p, qreal s)
{
    p.save();
    p.scale(s, s);
    QPainterPath square;
    square.addRect(0, 0, 16, 16);
    checker(p, square, kBlue, kBlack);
    p.fillRect(QRectF(0, 0, 16, 4), kWhite);
    letterW(p, QRectF(3, 6.5, 10, 7), kWhite, 1.5, 0);
    p.restore();
}

void roundButton(QPainter &p, qreal s, bool rim)
{
    p.save();
    p.scale(s, s);
    p.setPen(Qt::NoPen);
    if (rim) {
        p.setBrush(QColor(176, 208, 255));
        p.drawEllipse(QPointF(8, 8), 7.5, 7.5);
    }
    p.setBrush(QColor(16, 72, 208));
    p.drawEllipse(QPointF(8, 8), rim ? 6.5 : 7.5, rim ? 6.5 : 7.5);
    questionMark(p, 8, 7.5, 9, kWhite, 1.8);
    p.restore();
}

const std::vector<Draw> &smallList()
{
    static const std::vector<Draw> list{
        [](QPainter &p) { sheet(p); },
        [](QPainter &p) {
            sheet(p);
            p.setPen(Qt::NoPen);
            p.setBrush(kNavy);
            p.drawEllipse(QPointF(12, 4), 3.5, 3.5);
            p.setBrush(QColor(96, 128, 255));
            p.drawEllipse(QPointF(11, 3), 1, 1);
        },
        [](QPainter &p) { openFolder(p); },
        [](QPainter &p) { closedFolder(p, true); },
        [](QPainter &p) { roundButton(p, 1, true); },
        [](QPainter &p) {
            closedFolder(p, false);
            magnifier(p, {10, 9}, 3, 1, {15, 15}, 2);
        },
        [](QPainter &p) { floppy(p, 1, false); },
        [](QPainter &p) { checkerW(p, 1); },
    };
    return list;
}

// ---- The 32 x 32 list ----------------------------------------------------------------

const std::vector<Draw> &largeList()
{
    static const std::vector<Draw> list{
        [](QPainter &p) { floppy(p, 2, true); },
        [](QPainter &p) {
            closedFolder(p, false, 2);
            magnifier(p, {20, 18}, 6, 2, {30, 30}, 4);
        },
        [](QPainter &p) { roundButton(p, 2, false); },
        [](QPainter &p) { checkerW(p, 2); },
        // Send to the word processor: a bold slanted W in a navy frame.
        [](QPainter &p) {
            p.fillRect(QRectF(1, 1, 30, 30), kNavy);
            p.fillRect(QRectF(4, 4, 24, 24), kWhite);
            letterW(p, QRectF(7, 8, 18, 16), kNavy, 3.5, 0.18);
        },
        // About: a shaded round button with a white rim.
        [](QPainter &p) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(96, 112, 160));
            p.drawEllipse(QPointF(16.5, 16.5), 15, 15);
            p.setBrush(kWhite);
            p.drawEllipse(QPointF(16, 16), 15, 15);
            QRadialGradient shade(QPointF(12, 10), 18);
            shade.setColorAt(0, QColor(150, 196, 255));
            shade.setColorAt(1, QColor(0, 40, 168));
            p.setBrush(shade);
            p.drawEllipse(QPointF(16, 16), 12.5, 12.5);
            questionMark(p, 16, 15, 17, kWhite, 3.2);
        },
        [](QPainter &p) {
            magnifier(p, {19, 13}, 8, 3, {5, 27}, 5);
        },
    };
    return list;
}

// ---- The program icon ------------------------------------------------------------------

// Shapes in a 32-unit square, drawn by QPainter and written as SVG from the same list.
struct Shape {
    enum Kind { Rect, Circle, Line, Polyline } kind;
    QColor colour;
    qreal width;                 // stroke width; 0 fills
    std::vector<QPointF> points; // Rect: top-left, size; Circle: centre, (radius, 0)
};

std::vector<Shape> iconShapes()
{
    std::vector<Shape> shapes;
    shapes.push_back({Shape::Rect, kWhite, 0, {{0, 0}, {32, 32}}});
    // A dial: marks on an arc open at the bottom, ticks and dots alternating.
    const QPointF centre(16, 12);
    for (int k = 0; k <= 12; ++k) {
        const qreal angle = (210.0 - 20.0 * k) * std::numbers::pi / 180.0;
        const QPointF unit(std::cos(angle), -std::sin(angle));
        if (k == 6)
            shapes.push_back({Shape::Circle, kMaroon, 0, {centre + unit * 9.5, {1.8, 0}}});
        else if (k % 2 == 0)
            shapes.push_back(
                {Shape::Line, kBlack, 1.5, {centre + unit * 7.5, centre + unit * 10.5}});
        else
            shapes.push_back({Shape::Circle, kGrey, 0, {centre + unit * 9.5, {1.1, 0}}});
    }
    shapes.push_back({Shape::Line, kTeal, 3.5, {{6, 21}, {26, 4}}});
    // V, E, L.
    shapes.push_back({Shape::Polyline, kBlack, 2.2, {{2, 23}, {5.5, 31}, {9, 23}}});
    shapes.push_back(
        {Shape::Polyline, kBlack, 2.2, {{18.5, 23.1}, {13.1, 23.1}, {13.1, 30.9}, {18.5, 30.9}}});
    shapes.push_back({Shape::Line, kBlack, 2.2, {{13.1, 27}, {17.5, 27}}});
    shapes.push_back({Shape::Polyline, kBlack, 2.2, {{22.1, 23}, {22.1, 30.9}, {29, 30.9}}});
    return shapes;
}

void drawShapes(QPainter &p, const std::vector<Shape> &shapes)
{
    for (const Shape &shape : shapes) {
        switch (shape.kind) {
        case Shape::Rect:
            p.fillRect(QRectF(shape.points[0], QSizeF(shape.points[1].x(), shape.points[1].y())),
                       shape.colour);
            break;
        case Shape::Circle:
            p.setPen(Qt::NoPen);
            p.setBrush(shape.colour);
            p.drawEllipse(shape.points[0], shape.points[1].x(), shape.points[1].x());
            break;
        case Shape::Line:
        case Shape::Polyline: {
            p.setPen(pen(shape.colour, shape.width, Qt::SquareCap));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(shape.points.data(), int(shape.points.size()));
            break;
        }
        }
    }
}

QString svgNumber(qreal value)
{
    return QString::number(std::round(value * 1000) / 1000, 'g', 8);
}

QString iconSvg(const std::vector<Shape> &shapes)
{
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 "
           "32\">\n";
    for (const Shape &shape : shapes) {
        const QString colour = shape.colour.name();
        switch (shape.kind) {
        case Shape::Rect:
            out << "  <rect x=\"" << svgNumber(shape.points[0].x()) << "\" y=\""
                << svgNumber(shape.points[0].y()) << "\" width=\"" << svgNumber(shape.points[1].x())
                << "\" height=\"" << svgNumber(shape.points[1].y()) << "\" fill=\"" << colour
                << "\"/>\n";
            break;
        case Shape::Circle:
            out << "  <circle cx=\"" << svgNumber(shape.points[0].x()) << "\" cy=\""
                << svgNumber(shape.points[0].y()) << "\" r=\"" << svgNumber(shape.points[1].x())
                << "\" fill=\"" << colour << "\"/>\n";
            break;
        case Shape::Line:
        case Shape::Polyline: {
            out << "  <polyline points=\"";
            for (std::size_t i = 0; i < shape.points.size(); ++i)
                out << (i ? " " : "") << svgNumber(shape.points[i].x()) << ','
                    << svgNumber(shape.points[i].y());
            out << "\" fill=\"none\" stroke=\"" << colour << "\" stroke-width=\""
                << svgNumber(shape.width)
                << "\" stroke-linecap=\"square\" stroke-linejoin=\"miter\"/>\n";
            break;
        }
        }
    }
    out << "</svg>\n";
    return svg;
}

// The sixteen colours of the classic palette; the icon uses nothing else.
QImage toSixteenColours(const QImage &image)
{
    static const QList<QRgb> palette{
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    QImage indexed(image.size(), QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            int best = 0, bestDistance = INT32_MAX;
            for (int i = 0; i < palette.size(); ++i) {
                const int dr = qRed(pixel) - qRed(palette[i]),
                          dg = qGreen(pixel) - qGreen(palette[i]),
                          db = qBlue(pixel) - qBlue(palette[i]);
                const int distance = dr * dr + dg * dg + db * db;
                if (distance < bestDistance) {
                    best = i;
                    bestDistance = distance;
                }
            }
            indexed.setPixel(x, y, uint(best));
        }
    }
    return indexed;
}

// ---- The About box logo ----------------------------------------------------------------

void drawText(QPainter &p, const QRawFont &font, const QString &text, QPointF baselineCentre,
              const QColor &colour, qreal maxWidth)
{
    QPainterPath path;
    qreal x = 0;
    for (const quint32 glyph : font.glyphIndexesForString(text)) {
        const QList<QPointF> advance = font.advancesForGlyphIndexes(QList<quint32>{glyph});
        path.addPath(font.pathForGlyph(glyph).translated(x, 0));
        x += advance.value(0).x();
    }
    const qreal scale = x > maxWidth ? maxWidth / x : 1.0;
    QTransform place;
    place.translate(baselineCentre.x() - x * scale / 2, baselineCentre.y());
    place.scale(scale, 1);
    p.fillPath(place.map(path), colour);
}

// Glyphs set upright along an arc above `centre`, reading left to right.
void drawArchedText(QPainter &p, const QRawFont &font, const QString &text, QPointF centre,
                    qreal radius, qreal spanDegrees, const QColor &colour)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    std::vector<qreal> advances;
    qreal total = 0;
    for (const quint32 glyph : glyphs) {
        advances.push_back(font.advancesForGlyphIndexes(QList<quint32>{glyph}).value(0).x());
        total += advances.back();
    }
    const qreal radiansPerUnit = (spanDegrees * std::numbers::pi / 180.0) / total;
    qreal angle = std::numbers::pi / 2 + total * radiansPerUnit / 2; // left end
    for (int i = 0; i < glyphs.size(); ++i) {
        const qreal half = advances[std::size_t(i)] / 2;
        angle -= half * radiansPerUnit;
        QTransform place;
        place.translate(centre.x() + radius * std::cos(angle),
                        centre.y() - radius * std::sin(angle));
        place.rotateRadians(std::numbers::pi / 2 - angle);
        place.translate(-half, 0);
        p.fillPath(place.map(font.pathForGlyph(glyphs[i])), colour);
        angle -= half * radiansPerUnit;
    }
}

QImage drawLogo()
{
    QImage image(154, 139, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRawFont small(QStringLiteral(LOGO_FONT), 13);
    const QRawFont large(QStringLiteral(LOGO_FONT), 25);
    drawArchedText(p, small, QStringLiteral("ИЗДАТЕЛЬСТВО"), {77, 96}, 80, 92, QColor(86, 40, 140));

    // A fan of sheets behind the nib.
    const QPointF pivot(77, 104);
    const QColor sheets[] = {QColor(150, 150, 162), QColor(128, 84, 184), QColor(196, 196, 204),
                             QColor(104, 56, 164), QColor(172, 140, 212)};
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(pivot);
        p.rotate(-44 + 22 * i);
        const QRectF page(-17, -66, 34, 46);
        p.setPen(pen(QColor(60, 40, 90), 1));
        p.setBrush(sheets[i]);
        p.drawRect(page);
        p.setPen(pen(QColor(255, 255, 255, 150), 1));
        for (int line = 0; line < 4; ++line)
            p.drawLine(QPointF(-12, -58 + 8 * line), QPointF(12, -58 + 8 * line));
        p.restore();
    }

    // The nib, point down.
    QPainterPath nib;
    nib.moveTo(77, 103);
    nib.cubicTo(70, 92, 64, 84, 66, 74);
    nib.lineTo(69, 56);
    nib.quadTo(77, 50, 85, 56);
    nib.lineTo(88, 74);
    nib.cubicTo(90, 84, 84, 92, 77, 103);
    QLinearGradient metal(QPointF(64, 0), QPointF(90, 0));
    metal.setColorAt(0, QColor(70, 66, 82));
    metal.setColorAt(0.45, QColor(196, 192, 208));
    metal.setColorAt(1, QColor(84, 78, 96));
    p.setPen(pen(QColor(24, 20, 32), 1.2, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(metal);
    p.drawPath(nib);
    p.drawLine(QPointF(77, 102), QPointF(77, 78));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(77, 75), 2.6, 2.6);

    drawText(p, large, QStringLiteral("ПЕЛЛАРИС"), {77, 132}, QColor(70, 28, 112), 148);
    p.end();
    return image;
}

bool writeJpeg(const QImage &rgb, const QString &path)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info); // baseline, JFIF, YCbCr
    jpeg_set_quality(&info, 92, TRUE);
    info.dct_method = JDCT_ISLOW; // the same bytes with or without SIMD
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar *>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QFile file(path);
    const bool ok =
        file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char *>(buffer), qint64(size)) == qint64(size);
    free(buffer);
    return ok;
}

bool save(const QImage &image, const QString &path)
{
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_images <source root>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const char *folder : {"quillmar/images", "quillmar/icons", "about"})
        root.mkpath(QString::fromLatin1(folder));
    bool ok = true;

    for (int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@2x");
        for (std::size_t i = 0; i < smallList().size(); ++i)
            ok &= save(
                render(16, 16, scale, true, smallList()[i]),
                root.filePath(QStringLiteral("quillmar/images/list1_%1%2.png").arg(i).arg(suffix)));
        for (std::size_t i = 0; i < largeList().size(); ++i)
            ok &= save(
                render(32, 32, scale, true, largeList()[i]),
                root.filePath(QStringLiteral("quillmar/images/list2_%1%2.png").arg(i).arg(suffix)));
        // Sixteen colours and no transparency: drawn without antialiasing.
        const QImage icon =
            render(32, 32, scale, false, [](QPainter &p) { drawShapes(p, iconShapes()); });
        ok &= save(toSixteenColours(icon),
                   root.filePath(QStringLiteral("quillmar/images/program_icon%1.png").arg(suffix)));
    }

    // For the desktop: a scalable icon and smooth full-colour sizes.
    QFile svg(root.filePath(QStringLiteral("quillmar/icons/veltrano.svg")));
    ok &= svg.open(QIODevice::WriteOnly | QIODevice::Truncate)
          && svg.write(iconSvg(iconShapes()).toUtf8()) > 0;
    svg.close();
    for (int size : {16, 32, 48, 64, 128}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        drawShapes(p, iconShapes());
        p.end();
        ok &= save(image.convertToFormat(QImage::Format_RGB32),
                   root.filePath(QStringLiteral("quillmar/icons/veltrano-%1.png").arg(size)));
    }

    ok &= writeJpeg(drawLogo(), root.filePath(QStringLiteral("about/logo.jpg")));
    return ok ? 0 : 1;
}
