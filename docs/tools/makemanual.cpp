// makemanual: renders Markdown files into one PDF, each file starting on a new page, with a
// footer that names the file's first heading and the page number. Used by the build to turn
// the manual's German and English text into the PDF beside the program.
//
//   makemanual OUTPUT.pdf INPUT.md [INPUT.md ...]

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <cstdio>
#include <vector>

namespace {

const QColor kHeadingColour(0x1f, 0x4e, 0x79);
const QColor kCodeBackground(0xf1, 0xf3, 0xf5);
const QColor kRuleColour(0xa0, 0xa8, 0xb0);
constexpr qreal kBodyPointSize = 10;

struct Part {
    QString title;
    int firstBlock = 0;
    int firstPage = 0;
};

bool ReadUtf8(const QString& path, QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    text = QString::fromUtf8(file.readAll());
    return true;
}

QString FirstHeading(const QString& markdown) {
    for (const QString& line : markdown.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("# "))) {
            return line.mid(2).trimmed();
        }
    }
    return {};
}

// Appends one Markdown text; every part after the first starts on a new page.
void AppendPart(QTextDocument& document, const QString& markdown, Part& part) {
    QTextDocument source;
    source.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    const bool first = document.isEmpty();
    if (!first) {
        // A fresh block in the format of the part's first block; a plain new block would
        // continue whatever list or table ended the part before.
        cursor.insertBlock(source.begin().blockFormat(), source.begin().charFormat());
    }
    const int start = cursor.position();
    cursor.insertFragment(QTextDocumentFragment(&source));
    QTextCursor head(&document);
    head.setPosition(start);
    part.firstBlock = head.blockNumber();
    if (!first) {
        QTextBlockFormat pageBreak;
        pageBreak.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        head.mergeBlockFormat(pageBreak);
    }
}

void StyleBlock(const QTextBlock& block, const QFont& mono) {
    // The block's own text only, so formats do not spill into the block before.
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextBlockFormat blockFormat;
    QTextCharFormat charFormat;
    const int level = block.blockFormat().headingLevel();
    if (level > 0) {
        static const qreal kSizes[] = {20, 14, 11.5, 10.5, 10, 10};
        // The Markdown reader sizes headings relative to the body; a size adjustment would
        // override the explicit size, so the heading's format is replaced, not merged.
        QTextCharFormat heading = cursor.charFormat();
        heading.clearProperty(QTextFormat::FontSizeAdjustment);
        heading.setFontPointSize(kSizes[qMin(level, 6) - 1]);
        heading.setFontWeight(QFont::Bold);
        heading.setForeground(kHeadingColour);
        cursor.setCharFormat(heading);
        blockFormat.setTopMargin(level == 1 ? 0 : level == 2 ? 16 : 10);
        blockFormat.setBottomMargin(level == 1 ? 10 : 5);
    } else if (block.blockFormat().hasProperty(QTextFormat::BlockCodeFence)) {
        charFormat.setFont(mono);
        charFormat.setFontPointSize(kBodyPointSize - 1);
        blockFormat.setBackground(kCodeBackground);
        blockFormat.setLeftMargin(12);
        blockFormat.setRightMargin(12);
    } else {
        blockFormat.setLineHeight(118, QTextBlockFormat::ProportionalHeight);
        if (!block.textList() && !cursor.currentTable()) {
            blockFormat.setBottomMargin(5);
        }
    }
    cursor.mergeBlockFormat(blockFormat);
    if (charFormat.propertyCount() > 0) {
        cursor.mergeCharFormat(charFormat);
    }
}

void StyleTables(QTextFrame* frame) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            QTextTableFormat format = table->format();
            format.setBorder(1);
            format.setBorderBrush(kRuleColour);
            format.setBorderCollapse(true);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setCellPadding(3);
            format.setCellSpacing(0);
            format.setTopMargin(4);
            format.setBottomMargin(8);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            table->setFormat(format);
        }
        StyleTables(child);
    }
}

void Style(QTextDocument& document) {
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setStyleHint(QFont::Monospace);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        StyleBlock(block, mono);
    }
    StyleTables(document.rootFrame());
}

int PageOfBlock(QTextDocument& document, int blockNumber, qreal pageHeight) {
    const QTextBlock block = document.findBlockByNumber(blockNumber);
    const QRectF box = document.documentLayout()->blockBoundingRect(block);
    return static_cast<int>(box.top() / pageHeight);
}

bool WritePdf(QTextDocument& document, std::vector<Part>& parts, const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(22, 18, 22, 14), QPageLayout::Millimeter));
    writer.setTitle(parts.front().title);
    writer.setCreator(QStringLiteral("Orvane makemanual"));

    document.documentLayout()->setPaintDevice(&writer);
    const QRect body = writer.pageLayout().paintRectPixels(writer.resolution());
    const qreal footerHeight = writer.resolution() * 0.35;
    const QSizeF pageSize(body.width(), body.height() - footerHeight);
    document.setPageSize(pageSize);
    const int pageCount = document.pageCount();
    for (Part& part : parts) {
        part.firstPage = PageOfBlock(document, part.firstBlock, pageSize.height());
    }

    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    QFont footerFont = document.defaultFont();
    footerFont.setPointSizeF(kBodyPointSize - 2);
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0) {
            writer.newPage();
        }
        painter.save();
        painter.translate(0, -page * pageSize.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * pageSize.height(), pageSize.width(), pageSize.height());
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();

        QString title;
        for (const Part& part : parts) {
            if (part.firstPage <= page) {
                title = part.title;
            }
        }
        const QRectF footer(0, body.height() - footerHeight * 0.6, body.width(),
                            footerHeight * 0.6);
        painter.setPen(kRuleColour);
        painter.drawLine(footer.topLeft(), footer.topRight());
        painter.setPen(Qt::black);
        painter.setFont(footerFont);
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignBottom, title);
        painter.drawText(footer, Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("%1 / %2").arg(page + 1).arg(pageCount));
    }
    return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: makemanual OUTPUT.pdf INPUT.md [INPUT.md ...]\n");
        return 2;
    }

    QTextDocument document;
    QFont bodyFont(QStringLiteral("DejaVu Sans"));
    bodyFont.setPointSizeF(kBodyPointSize);
    document.setDefaultFont(bodyFont);
    document.setDocumentMargin(0);

    std::vector<Part> parts;
    for (const QString& input : args.mid(1)) {
        QString markdown;
        if (!ReadUtf8(input, markdown)) {
            std::fprintf(stderr, "makemanual: cannot read %s\n", qPrintable(input));
            return 1;
        }
        Part part;
        part.title = FirstHeading(markdown);
        AppendPart(document, markdown, part);
        parts.push_back(part);
    }
    Style(document);

    if (!WritePdf(document, parts, args.first())) {
        std::fprintf(stderr, "makemanual: cannot write %s\n", qPrintable(args.first()));
        return 1;
    }
    return 0;
}
