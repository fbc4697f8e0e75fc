#include "preview/PdfArt.h"

#include "base/Units.h"

#include <QByteArrayList>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

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
    colour(c, m_stroke, "SCN");
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
        colour(*outline, m_stroke, "SCN");
    if (fill)
        colour(*fill, m_fill, "scn");
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
    const QByteArray content = "q\n/GSa gs /CSp cs /CSp CS\n" + scale + " 0 0 -" + scale + " 0 " +
                               QByteArray::number(pageHeight, 'f', 6) + " cm\n" +
                               QByteArray::number(PrintedOutline) + " w 2 J 2 j [] 0 d\n" +
                               m_content + "Q\n";
    return qCompress(content, 6).mid(4); // a zlib stream, without Qt's length before it
}

namespace {

// What the update needs to know of one page object.
struct PageObject
{
    QByteArray number;   // the object's number
    QByteArray dict;     // its dictionary, without << and >>
    QByteArray contents; // the reference to its content: "N 0 R"
    double height = 0;   // of its media box, points
};

// The number (digits) before `at`, or empty.
QByteArray numberBefore(const QByteArray &pdf, qsizetype at)
{
    qsizetype begin = at;
    while (begin > 0 && pdf[begin - 1] >= '0' && pdf[begin - 1] <= '9')
        --begin;
    return pdf.mid(begin, at - begin);
}

// The text after `key` up to the end of its line, within [from, to).
QByteArray valueOf(const QByteArray &pdf, const char *key, qsizetype from, qsizetype to)
{
    const qsizetype at = pdf.indexOf(key, from);
    if (at < 0 || at >= to)
        return {};
    const qsizetype begin = at + qstrlen(key);
    const qsizetype end = pdf.indexOf('\n', begin);
    return end < 0 || end > to ? QByteArray() : pdf.mid(begin, end - begin).trimmed();
}

std::vector<PageObject> pageObjects(const QByteArray &pdf)
{
    static const QByteArray header = " 0 obj\n<<\n";
    static const QByteArray type = "/Type /Page\n";
    std::vector<PageObject> pages;
    for (qsizetype at = pdf.indexOf(type); at >= 0; at = pdf.indexOf(type, at + 1)) {
        const qsizetype objectStart = at - header.size();
        if (objectStart <= 0 || pdf.mid(objectStart, header.size()) != header)
            return {};
        const qsizetype end = pdf.indexOf("\n>>\nendobj", at);
        if (end < 0)
            return {};
        PageObject page;
        page.number = numberBefore(pdf, objectStart);
        page.dict = pdf.mid(at, end - at);
        page.contents = valueOf(pdf, "/Contents ", at, end);
        const QList<QByteArray> box =
            valueOf(pdf, "/MediaBox [", at, end).replace(']', ' ').simplified().split(' ');
        bool ok = box.size() == 4;
        page.height = ok ? box[3].toDouble(&ok) - box[1].toDouble() : 0;
        if (page.number.isEmpty() || !page.contents.endsWith(" 0 R") || !ok || page.height <= 0)
            return {};
        pages.push_back(std::move(page));
    }
    return pages;
}

} // namespace

bool addPageArt(QByteArray &pdf, const std::vector<QByteArray> &packedArt,
                const std::vector<double> &pageHeights)
{
    const std::vector<PageObject> pages = pageObjects(pdf);
    if (pages.size() != pageHeights.size())
        return false;
    for (std::size_t k = 0; k < pages.size(); ++k)
        if (std::abs(pages[k].height - pageHeights[k]) > 1e-6)
            return false;
    const qsizetype trailer = pdf.lastIndexOf("\ntrailer\n<<\n");
    const qsizetype trailerEnd = trailer < 0 ? -1 : pdf.indexOf("\n>>", trailer);
    const qsizetype startxref = pdf.lastIndexOf("\nstartxref\n");
    if (pages.size() != packedArt.size() || pages.empty() || trailerEnd < 0 ||
        startxref < trailerEnd)
        return false;
    bool ok = false;
    long long next = valueOf(pdf, "/Size ", trailer, trailerEnd).toLongLong(&ok);
    const QByteArray root = valueOf(pdf, "/Root ", trailer, trailerEnd);
    const QByteArray info = valueOf(pdf, "/Info ", trailer, trailerEnd);
    const QByteArray previous = valueOf(pdf, "\nstartxref\n", startxref, pdf.size());
    if (!ok || root.isEmpty() || previous.isEmpty())
        return false;

    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    std::vector<std::pair<long long, qsizetype>> offsets;
    for (std::size_t k = 0; k < pages.size(); ++k) {
        const QByteArray &packed = packedArt[k];
        const long long stream = next++;
        offsets.emplace_back(stream, out.size());
        put(out, stream);
        out += " 0 obj\n<<\n/Length ";
        put(out, packed.size());
        out += "\n/Filter /FlateDecode\n>>\nstream\n" + packed + "\nendstream\nendobj\n";

        QByteArray dict = pages[k].dict;
        dict.replace("/Contents " + pages[k].contents, "/Contents [" + QByteArray::number(stream) +
                                                           " 0 R " + pages[k].contents + "]");
        offsets.emplace_back(pages[k].number.toLongLong(), out.size());
        out += pages[k].number + " 0 obj\n<<\n" + dict + "\n>>\nendobj\n";
    }
    std::sort(offsets.begin(), offsets.end());
    const qsizetype xref = out.size();
    out += "xref\n";
    for (const auto &[number, offset] : offsets) {
        put(out, number);
        out += " 1\n" + QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    }
    out += "trailer\n<<\n/Size ";
    put(out, next);
    out += "\n/Root " + root + '\n';
    if (!info.isEmpty())
        out += "/Info " + info + '\n';
    out += "/Prev " + previous + "\n>>\nstartxref\n";
    put(out, xref);
    out += "\n%%EOF\n";
    pdf = std::move(out);
    return true;
}

} // namespace tw::pdf
