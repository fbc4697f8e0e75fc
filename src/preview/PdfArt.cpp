#include "preview/PdfArt.h"

#include "base/Units.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>

namespace tw::pdf {

namespace {

void put(QByteArray &out, long long value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

// A colour component, 0..255, as a fraction with enough digits to come back
// to the same 8-bit value.
void putComponent(QByteArray &out, int value)
{
    if (value == 0 || value == 255) {
        out += value ? '1' : '0';
        return;
    }
    out += QByteArray::number(value / 255.0, 'f', 4);
}

QPoint cornerOf(const std::vector<QPoint> &points)
{
    QPoint corner = points.front();
    for (const QPoint &p : points)
        corner = QPoint(std::min(corner.x(), p.x()), std::min(corner.y(), p.y()));
    return corner;
}

} // namespace

void PageArt::colour(Colour c, std::optional<Colour> &current, const char *op)
{
    if (current == c)
        return;
    current = c;
    putComponent(m_content, redOf(c));
    m_content += ' ';
    putComponent(m_content, greenOf(c));
    m_content += ' ';
    putComponent(m_content, blueOf(c));
    m_content += ' ';
    m_content += op;
    m_content += '\n';
}

void PageArt::frame(QPoint corner)
{
    m_content += "q 1 0 0 1 ";
    put(m_content, corner.x());
    m_content += ' ';
    put(m_content, corner.y());
    m_content += " cm\n";
}

void PageArt::strokes(const std::vector<Stroke> &strokes, Colour c)
{
    std::vector<QPoint> all;
    for (const Stroke &s : strokes)
        all.insert(all.end(), s.begin(), s.end());
    if (all.empty())
        return;
    colour(c, m_stroke, "RG");
    const QPoint corner = cornerOf(all);
    frame(corner);
    for (const Stroke &s : strokes)
        for (std::size_t k = 0; k < s.size(); ++k) {
            put(m_content, s[k].x() - corner.x());
            m_content += ' ';
            put(m_content, s[k].y() - corner.y());
            m_content += k ? " l\n" : " m\n";
        }
    m_content += "S Q\n";
}

void PageArt::rectangles(const std::vector<QRectF> &rects, std::optional<Colour> outline,
                         std::optional<Colour> fill)
{
    if (rects.empty() || (!outline && !fill))
        return;
    if (outline)
        colour(*outline, m_stroke, "RG");
    if (fill)
        colour(*fill, m_fill, "rg");
    std::vector<QPoint> corners;
    for (const QRectF &r : rects)
        corners.push_back(r.topLeft().toPoint());
    const QPoint corner = cornerOf(corners);
    frame(corner);
    for (const QRectF &r : rects) {
        put(m_content, std::lround(r.x()) - corner.x());
        m_content += ' ';
        put(m_content, std::lround(r.y()) - corner.y());
        m_content += ' ';
        put(m_content, std::lround(r.width()));
        m_content += ' ';
        put(m_content, std::lround(r.height()));
        m_content += " re\n";
    }
    m_content += outline && fill ? "B* Q\n" : outline ? "S Q\n" : "f Q\n";
}

QByteArray PageArt::packed(double pageHeight, int unitsPerInch) const
{
    const QByteArray scale = QByteArray::number(72.0 / unitsPerInch, 'f', 9);
    const QByteArray content = QByteArray("q\n") + ArtState + " gs\n" + scale + " 0 0 -" + scale +
                               " 0 " + QByteArray::number(pageHeight, 'f', 6) + " cm\n" +
                               QByteArray::number(PrintedOutline) + " w 2 J 2 j [] 0 d\n" +
                               m_content + "Q\n";
    return qCompress(content, 6).mid(4); // a zlib stream, without Qt's length before it
}

bool addPageArt(QByteArray &pdf, const std::vector<QByteArray> &packedArt,
                const std::vector<double> &pageHeights)
{
    if (packedArt.empty() || packedArt.size() != pageHeights.size())
        return false;
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("the PDF written", pdf.constData(),
                                   static_cast<std::size_t>(pdf.size()));
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(document).getAllPages();
        if (document.anyWarnings() || pages.size() != packedArt.size())
            return false;
        // Stroke adjustment, as Qt's writer sets it for its own lines.
        QPDFObjectHandle state = document.makeIndirectObject(
            QPDFObjectHandle::parse("<< /Type /ExtGState /SA true /SM 0.02 >>"));
        for (std::size_t k = 0; k < pages.size(); ++k) {
            QPDFObjectHandle::Rectangle box = pages[k].getMediaBox().getArrayAsRectangle();
            if (std::abs((box.ury - box.lly) - pageHeights[k]) > 1e-6)
                return false;
            QPDFObjectHandle resources = pages[k].getAttribute("/Resources", false);
            if (!resources.isDictionary())
                return false;
            QPDFObjectHandle states = resources.getKey("/ExtGState");
            if (states.isNull()) {
                states = QPDFObjectHandle::newDictionary();
                resources.replaceKey("/ExtGState", states);
            }
            if (!states.isDictionary())
                return false;
            // The pages may share their resources: the name is then ours
            // already.
            if (states.hasKey(ArtState) && states.getKey(ArtState).getObjGen() != state.getObjGen())
                return false;
            states.replaceKey(ArtState, state);
            QPDFObjectHandle art = document.newStream();
            art.replaceStreamData(packedArt[k].toStdString(),
                                  QPDFObjectHandle::newName("/FlateDecode"),
                                  QPDFObjectHandle::newNull());
            pages[k].addPageContents(art, true);
        }
        QPDFWriter writer(document);
        writer.setOutputMemory();
        // Streams copied as they are, not decoded and compressed again.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setDeterministicID(true);
        writer.write();
        if (document.anyWarnings())
            return false;
        const std::shared_ptr<Buffer> written = writer.getBufferSharedPointer();
        pdf = QByteArray(reinterpret_cast<const char *>(written->getBuffer()),
                         static_cast<qsizetype>(written->getSize()));
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace tw::pdf
