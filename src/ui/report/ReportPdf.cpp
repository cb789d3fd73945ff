#include "ui/report/ReportPdf.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <functional>
#include <vector>

#include "core/presets/AtomicFile.h"
#include "core/presets/ReportModel.h"
#include "core/text/ReportTexts.h"
#include "ui/report/CurvePlot.h"

namespace tavelo::ui {

namespace {

// A4 portrait in millimetres.
constexpr double kPageWidth = 210, kPageHeight = 297;
constexpr double kMargin = 16, kFooterSpace = 14;
constexpr double kContentWidth = kPageWidth - 2 * kMargin;
constexpr double kRowHeight = 5.2, kHeadingHeight = 11, kPlotHeight = 62;
constexpr int kResolution = 300;  // dots per inch
const QColor kAccent(20, 90, 140);
const QColor kZebra(242, 245, 248);
const QColor kMuted(110, 110, 110);

// Paints in millimetres on a device of kResolution dots per inch.
class Pen {
 public:
  explicit Pen(QPainter& p) : p_(p) {}
  static double Px(double mm) { return mm * kResolution / 25.4; }
  static QRectF Rect(double x, double y, double w, double h) {
    return {Px(x), Px(y), Px(w), Px(h)};
  }
  void Font(double mm, bool bold = false) {
    QFont f("DejaVu Sans");
    f.setPixelSize(std::max(1, static_cast<int>(Px(mm))));
    f.setBold(bold);
    // No ligatures: a name copied from the PDF ("effect.volume") must paste back into a
    // command as the same letters, not as one "ff" glyph.
    f.setStyleStrategy(QFont::PreferNoShaping);
    p_.setFont(f);
  }
  void Text(double x, double y, double w, double h, const QString& text, int flags,
            const QColor& colour = Qt::black) {
    p_.setPen(colour);
    const QRectF r = Rect(x, y, w, h);
    p_.drawText(r, flags | Qt::TextSingleLine,
                p_.fontMetrics().elidedText(text, Qt::ElideRight, static_cast<int>(r.width())));
  }
  void Fill(double x, double y, double w, double h, const QColor& colour) {
    p_.fillRect(Rect(x, y, w, h), colour);
  }
  QPainter& painter() { return p_; }

 private:
  QPainter& p_;
};

using Draw = std::function<void(Pen&, double y)>;

// Lays blocks down the pages; a block that does not fit starts a new page.
class Flow {
 public:
  void Add(double height, Draw draw, Draw onNewPage = nullptr) {
    if (pages_.empty() || y_ + height > kPageHeight - kFooterSpace) {
      pages_.emplace_back();
      y_ = kMargin;
      if (onNewPage) {
        pages_.back().push_back({y_, onNewPage});
        y_ += kRowHeight;
      }
    }
    pages_.back().push_back({y_, std::move(draw)});
    y_ += height;
  }
  void Space(double mm) { y_ += mm; }
  // The next block starts a new page.
  void Break() { y_ = kPageHeight; }
  double RoomLeft() const { return pages_.empty() ? 0 : kPageHeight - kFooterSpace - y_; }
  struct Placed {
    double y;
    Draw draw;
  };
  const std::vector<std::vector<Placed>>& Pages() const { return pages_; }

 private:
  std::vector<std::vector<Placed>> pages_;
  double y_ = 0;
};

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}
QString W(ReportText t, Lang lang) {
  return QString::fromUtf8(ReportWord(t, lang).data(),
                           static_cast<qsizetype>(ReportWord(t, lang).size()));
}

void AddTitle(Flow& flow, const ReportHeader& h) {
  flow.Add(34, [h](Pen& pen, double y) {
    pen.Fill(0, 0, kPageWidth, 8, kAccent);
    pen.Font(7.5, true);
    pen.Text(kMargin, y, kContentWidth, 10, W(ReportText::kTitle, h.lang),
             Qt::AlignLeft | Qt::AlignVCenter, kAccent);
    pen.Font(4.2);
    const QString when = h.when.toString("yyyy-MM-dd HH:mm");
    const std::array<std::pair<ReportText, QString>, 3> lines = {
        {{ReportText::kPreset, h.presetName},
         {ReportText::kDate, when},
         {ReportText::kSource, h.source}}};
    double line = y + 12;
    for (const auto& [label, value] : lines) {
      pen.Font(3.6, true);
      pen.Text(kMargin, line, 28, 6, W(label, h.lang), Qt::AlignLeft | Qt::AlignVCenter, kMuted);
      pen.Font(3.6, label == ReportText::kPreset);
      pen.Text(kMargin + 28, line, kContentWidth - 28, 6, value, Qt::AlignLeft | Qt::AlignVCenter);
      line += 6.5;
    }
  });
}

Draw Heading(const QString& text) {
  return [text](Pen& pen, double y) {
    pen.Fill(kMargin, y + 2, kContentWidth, 7.5, kAccent);
    pen.Font(4.2, true);
    pen.Text(kMargin + 3, y + 2, kContentWidth - 6, 7.5, text, Qt::AlignLeft | Qt::AlignVCenter,
             Qt::white);
  };
}

// A table row: cells at the given widths (millimetres), the first column bold-free.
Draw Row(std::vector<QString> cells, std::vector<double> widths, bool header, bool zebra,
         int mutedColumn = -1) {
  return [=](Pen& pen, double y) {
    if (header) {
      pen.Fill(kMargin, y, kContentWidth, kRowHeight, QColor(225, 232, 240));
    } else if (zebra) {
      pen.Fill(kMargin, y, kContentWidth, kRowHeight, kZebra);
    }
    double x = kMargin + 2;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      pen.Font(header ? 3.2 : 3.3, header);
      pen.Text(x, y, widths[i] - 3, kRowHeight, cells[i], Qt::AlignLeft | Qt::AlignVCenter,
               static_cast<int>(i) == mutedColumn ? kMuted : Qt::black);
      x += widths[i];
    }
  };
}

void AddSection(Flow& flow, const ReportSection& section, Lang lang) {
  const QString title = Q(section.title);
  const std::vector<double> widths = {kContentWidth * 0.42, kContentWidth * 0.22,
                                      kContentWidth * 0.36};
  const std::vector<QString> head = {W(ReportText::kParameter, lang), W(ReportText::kValue, lang),
                                     W(ReportText::kName, lang)};
  // Keep the heading with the table's first rows.
  if (flow.RoomLeft() < kHeadingHeight + 4 * kRowHeight) flow.Break();
  flow.Add(kHeadingHeight, Heading(title));
  const Draw continued =
      Row({title + " " + W(ReportText::kContinued, lang)}, {kContentWidth}, true, false);
  flow.Add(kRowHeight, Row(head, widths, true, false), continued);
  bool zebra = false;
  for (const ReportRow& r : section.rows) {
    flow.Add(kRowHeight, Row({Q(r.parameter), Q(r.value), Q(r.name)}, widths, false, zebra, 2),
             continued);
    zebra = !zebra;
  }
  flow.Space(4);

  const std::vector<double> bandWidths = {kContentWidth * 0.1,  kContentWidth * 0.22,
                                          kContentWidth * 0.2,  kContentWidth * 0.12,
                                          kContentWidth * 0.16, kContentWidth * 0.2};
  for (const ReportEq& eq : section.eqs) {
    // The plot stays with its heading and the first rows of its band table.
    if (flow.RoomLeft() < kHeadingHeight + kPlotHeight + 2 + 4 * kRowHeight) flow.Break();
    flow.Add(kHeadingHeight, Heading(Q(eq.title)));
    const std::vector<EqBand> bands = eq.bands;
    flow.Add(kPlotHeight + 2, [bands](Pen& pen, double y) {
      PaintCurvePlot(pen.painter(), Pen::Rect(kMargin, y + 1, kContentWidth, kPlotHeight), bands,
                     PaperPlotColours(), true);
    });
    flow.Add(kRowHeight, Row({W(ReportText::kBand, lang), W(ReportText::kType, lang),
                              W(ReportText::kFrequency, lang), W(ReportText::kQ, lang),
                              W(ReportText::kGain, lang), W(ReportText::kSlope, lang)},
                             bandWidths, true, false));
    const Draw bandsContinued =
        Row({Q(eq.title) + " " + W(ReportText::kContinued, lang)}, {kContentWidth}, true, false);
    for (std::size_t b = 0; b < eq.bands.size(); ++b) {
      const ReportBandCells c = BandCells(eq.bands[b], lang);
      flow.Add(
          kRowHeight,
          Row({QString::number(b + 1), Q(c.type), Q(c.frequency), Q(c.q), Q(c.gain), Q(c.slope)},
              bandWidths, false, b % 2 == 1),
          bandsContinued);
    }
    flow.Space(5);
  }
}

Flow LayOut(const ParamImage& image, const ReportHeader& header) {
  Flow flow;
  AddTitle(flow, header);
  for (const ReportSection& s : BuildReport(image, header.lang)) AddSection(flow, s, header.lang);
  return flow;
}

}  // namespace

int ReportPageCount(const ParamImage& image, Lang lang) {
  ReportHeader header;
  header.lang = lang;
  return static_cast<int>(LayOut(image, header).Pages().size());
}

bool WriteReportPdf(const ParamImage& image, const ReportHeader& header, const QString& path,
                    QString& error) {
  // Laid out in memory, then saved by the one writer every file goes through (which writes
  // into a pipe or a device as it stands instead of replacing it).
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  WriteReportPdf(image, header, buffer);
  buffer.close();
  const FileResult saved =
      WriteFileAtomically(std::filesystem::path(path.toStdString()),
                          reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                          static_cast<std::size_t>(bytes.size()));
  if (!saved.ok) {
    error = QString::fromStdString(saved.message);
    return false;
  }
  return true;
}

void WriteReportPdf(const ParamImage& image, const ReportHeader& header, QIODevice& out) {
  const Flow flow = LayOut(image, header);
  {
    QPdfWriter pdf(&out);
    pdf.setResolution(kResolution);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(W(ReportText::kTitle, header.lang) + " - " + header.presetName);
    pdf.setCreator("Tavelo");
    QPainter painter(&pdf);
    Pen pen(painter);
    const auto& pages = flow.Pages();
    for (std::size_t p = 0; p < pages.size(); ++p) {
      if (p > 0) pdf.newPage();
      for (const auto& placed : pages[p]) placed.draw(pen, placed.y);
      pen.Font(3);
      QString footer = W(ReportText::kPage, header.lang);
      footer.replace(footer.indexOf("%d"), 2, QString::number(p + 1));
      footer.replace(footer.indexOf("%d"), 2, QString::number(pages.size()));
      pen.Text(kMargin, kPageHeight - 11, kContentWidth / 2, 5, header.presetName,
               Qt::AlignLeft | Qt::AlignVCenter, kMuted);
      pen.Text(kMargin + kContentWidth / 2, kPageHeight - 11, kContentWidth / 2, 5, footer,
               Qt::AlignRight | Qt::AlignVCenter, kMuted);
    }
  }
}

}  // namespace tavelo::ui
