#include "app/PrintTab.h"

#include "app/TrayLibrary.h"
#include "base/NumberText.h"
#include "base/Units.h"
#include "pieces/PreviewInterface.h"
#include "report/Report.h"
#include "solutions/Catalogue.h"
#include "solutions/SharedState.h"

#include <algorithm>
#include <cmath>

namespace tw {

namespace {

std::optional<double> numberIn(const QString &text)
{
    return parseNumber(text.toStdString());
}

Verdict beep()
{
    return {Verdict::Kind::Beep, {}};
}

Verdict say(const QString &message)
{
    return {Verdict::Kind::Message, message};
}

} // namespace

PrintTab::PrintTab(const Catalogue &catalogue, SharedState &sharedState, PreviewInterface &page)
    : m_catalogue(catalogue), state(sharedState), m_page(page)
{}

Single PrintTab::prepare(Integer t)
{
    SelectBoard(state, m_catalogue, t);
    setOrientation(0);
    const Single side = ResetUnitSize();
    setRender(1);
    return side;
}

Single PrintTab::open()
{
    setOrientation(0);
    setRender(1);
    return ResetUnitSize();
}

std::optional<QString> PrintTab::progressLine(Integer solution, Integer page, bool last)
{
    if (!last && m_sinceProgress.isValid() && m_sinceProgress.elapsed() < 50)
        return std::nullopt;
    m_sinceProgress.start();
    return QStringLiteral("Printing Solution %1\n on Page %2").arg(solution).arg(page);
}

Long PrintTab::count() const
{
    return m_catalogue.count(state.BoardIndex);
}

Single PrintTab::ResetUnitSize()
{
    const Catalogue::Entry &entry = m_catalogue.entry(state.BoardIndex);
    const Single side =
        entry.side
            ? *entry.side
            : keptTraySide(largestSide(m_page, entry.tray.cols(), entry.tray.rows()), entry.tray);
    m_unitSize = static_cast<Single>(side * TwipsPerInch);
    return side;
}

void PrintTab::setOrientation(int index)
{
    m_page.setOrientation(static_cast<Integer>(index));
    // The report's own limit, below its head, so that a side this tab
    // accepts always lays a tray on the page.
    const Tray &tray = m_catalogue.tray(state.BoardIndex);
    m_maxUnitSize = largestSide(m_page, tray.cols(), tray.rows());
}

void PrintTab::setRender(int index)
{
    m_renderMode = static_cast<Integer>(index);
}

PaperLook PrintTab::paperLook() const
{
    PaperLook look;
    look.rendering = m_renderMode == 0 ? Rendering::Colour : Rendering::Monochrome;
    look.look = m_look;
    return look;
}

Verdict PrintTab::checkRange(bool start, const QString &from, const QString &to) const
{
    // The partner box must hold a whole 16-bit number for the comparison.
    const auto own = numberIn(start ? from : to);
    const auto partnerNumber = numberIn(start ? to : from);
    const auto partner = partnerNumber ? wholeInteger(*partnerNumber) : std::nullopt;
    const Long count = this->count();
    if (!partner || !own)
        return beep();
    if (*own > count)
        return say((start ? QStringLiteral("Start") : QStringLiteral("End")) +
                   QStringLiteral(" Solution Number cannot be greater than %1 for the selected "
                                  "Board")
                       .arg(count));
    if (start && roundHalfEven(*own) > *partner)
        return say(
            QStringLiteral("Start Solution Number cannot be greater than the End Solution Number"));
    if (!start && roundHalfEven(*own) < *partner)
        return say(
            QStringLiteral("End Solution Number cannot be less than the Start Solution Number"));
    return {};
}

Verdict PrintTab::checkStart(const QString &from, const QString &to) const
{
    return checkRange(true, from, to);
}

Verdict PrintTab::checkEnd(const QString &from, const QString &to) const
{
    return checkRange(false, from, to);
}

Verdict PrintTab::checkSide(const QString &inches)
{
    const auto side = numberIn(inches);
    if (!side || *side <= 0.001)
        return beep();
    if (static_cast<Single>(*side) > m_maxUnitSize)
        return say(QStringLiteral("In order to fit on the page, the Sidelength of the Unit "
                                  "Square must be under %1 inch")
                       .arg(QString::fromStdString(sideLimitText(m_maxUnitSize))));
    m_unitSize = static_cast<Single>(*side * TwipsPerInch);
    return {};
}

std::optional<PrintTab::Refusal> PrintTab::checkBeforeReport(const QString &from, const QString &to,
                                                             const QString &inches)
{
    if (Verdict v = checkStart(from, to); !v.accepted())
        return Refusal{Box::Start, v};
    if (Verdict v = checkEnd(from, to); !v.accepted())
        return Refusal{Box::End, v};
    if (Verdict v = checkSide(inches); !v.accepted())
        return Refusal{Box::Side, v};
    // Both boxes now hold numbers that round to 16-bit whole numbers; with no
    // lower bound in the checks, an end below 1 selects nothing.
    if (std::floor(*numberIn(to)) < 1)
        return Refusal{Box::End, beep()};
    return std::nullopt;
}

std::optional<ReportError> PrintTab::run(const QString &from, const QString &to, bool landscape,
                                         const ReportProgress &progress,
                                         const std::function<void()> &whileNarrowed)
{
    const auto first = numberIn(from);
    const auto last = numberIn(to);
    if (!first || !last)
        return ReportError{ReportFault::EmptyRange, "The range is not two numbers."};
    // The solutions whose numbers lie within the range as typed: a start of
    // 2.5 begins at 3, an end of 3.5 stops at 3. Numbers below 1 select from
    // the first solution on.
    ReportOptions options;
    options.from = static_cast<Integer>(std::clamp(std::ceil(*first), 1.0, 32767.0));
    options.to = static_cast<Integer>(std::clamp(std::floor(*last), 1.0, 32767.0));
    options.landscape = landscape;
    options.unit = m_unitSize;
    m_sinceProgress.invalidate();
    options.look = paperLook();
    m_sheetName = QString::fromStdString(
        tw::sheetName(m_catalogue.tray(state.BoardIndex).label(), options.from, options.to));
    if (auto error = BuildReport(m_page, m_catalogue, state.BoardIndex, options, progress))
        return error;
    if (whileNarrowed)
        whileNarrowed();
    return std::nullopt;
}

} // namespace tw
