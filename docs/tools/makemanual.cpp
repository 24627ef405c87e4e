// makemanual: renders Markdown files into one PDF, each file starting on a new page, with a
// footer that names the file's first heading and the page number. A paragraph "[TOC]" becomes
// the contents of its file: its headings of levels 2 and 3 with their pages, on a page of its
// own, then the first heading of each other file with its first page. No heading is left alone at
// the foot of a page, and a table or code block that fits on one page is not split. Used by the
// build to turn the manual's German and English text into the PDF beside the program.
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
#include <QTextLayout>
#include <QTextTable>

#include <cstdio>
#include <vector>

namespace {

const QColor kHeadingColour(0x1f, 0x4e, 0x79);
const QColor kCodeBackground(0xf1, 0xf3, 0xf5);
const QColor kRuleColour(0xa0, 0xa8, 0xb0);
constexpr qreal kBodyPointSize = 10;

// A heading listed in the contents, and the contents cell that shows its page.
struct Entry {
    QTextCursor heading;
    QTextTableCell pageCell;
};

struct Part {
    QString title;
    QTextCursor start;  // moves along when text is inserted before it
    int firstPage = 0;
    std::vector<Entry> contents;
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
    part.start = head;
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
            format.setHeaderRowCount(1);  // repeated on the next page where a table goes on
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

int PageOf(qreal y, qreal pageHeight) {
    return static_cast<int>(y / pageHeight);
}

// The top of a block's first line, where the layout put it (it moves a line that does not
// fit to the next page).
qreal FirstLineTop(QTextDocument& document, const QTextBlock& block) {
    const QRectF box = document.documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    return box.top() + (layout != nullptr && layout->lineCount() > 0 ? layout->lineAt(0).y() : 0);
}

qreal Bottom(QTextDocument& document, const QTextBlock& block) {
    return document.documentLayout()->blockBoundingRect(block).bottom();
}

bool StartsPage(const QTextBlock& block) {
    return (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) != 0;
}

void BreakBefore(const QTextBlock& block) {
    QTextBlockFormat format;
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(block).mergeBlockFormat(format);
}

bool IsCode(const QTextBlock& block) {
    return block.isValid() && block.blockFormat().hasProperty(QTextFormat::BlockCodeFence);
}

// Replaces the paragraph "[TOC]" of each part by a borderless table of the part's headings
// of levels 2 and 3; their pages are filled in once the pages are known.
void InsertContents(QTextDocument& document, std::vector<Part>& parts) {
    for (size_t p = 0; p < parts.size(); ++p) {
        const int end =
            p + 1 < parts.size() ? parts[p + 1].start.position() : document.characterCount();
        QTextBlock placeholder;
        for (QTextBlock block = parts[p].start.block(); block.isValid() && block.position() < end;
             block = block.next()) {
            if (!placeholder.isValid() && block.text().trimmed() == QLatin1String("[TOC]")) {
                placeholder = block;
            } else if (placeholder.isValid() && block.blockFormat().headingLevel() >= 2 &&
                       block.blockFormat().headingLevel() <= 3) {
                parts[p].contents.push_back({QTextCursor(block), {}});
            }
        }
        if (!placeholder.isValid() || parts[p].contents.empty()) {
            continue;
        }
        // The other parts (the manual's other languages) are named with their first page.
        for (size_t other = 0; other < parts.size(); ++other) {
            if (other != p) {
                parts[p].contents.push_back({QTextCursor(parts[other].start.block()), {}});
            }
        }
        QTextCursor cursor(placeholder);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        QTextTableFormat format;
        format.setBorderStyle(QTextFrameFormat::BorderStyle_None);
        format.setCellPadding(1.5);
        format.setCellSpacing(0);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 90),
                                          QTextLength(QTextLength::PercentageLength, 10)});
        std::vector<Entry>& entries = parts[p].contents;
        QTextTable* table = cursor.insertTable(static_cast<int>(entries.size()), 2, format);
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        for (int row = 0; row < table->rows(); ++row) {
            const QTextBlock heading = entries[row].heading.block();
            QTextBlockFormat indent;
            indent.setLeftMargin(heading.blockFormat().headingLevel() == 3 ? 14 : 0);
            QTextCursor title = table->cellAt(row, 0).firstCursorPosition();
            title.setBlockFormat(indent);
            QTextCharFormat text;
            text.setFontWeight(heading.blockFormat().headingLevel() <= 2 ? QFont::Bold
                                                                         : QFont::Normal);
            title.insertText(heading.text(), text);
            table->cellAt(row, 1).firstCursorPosition().setBlockFormat(right);
            entries[row].pageCell = table->cellAt(row, 1);
        }
        BreakBefore(entries.front().heading.block());
    }
}

// Moves one heading that would end a page, or one table or code block that would be split
// although it fits on a page, to the next page; false when there is none. Every move shifts
// what follows, so the caller lays out again after each.
bool MoveOneToNextPage(QTextDocument& document, qreal pageHeight) {
    document.pageCount();  // lays the whole document out
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (StartsPage(block)) {
            continue;
        }
        const qreal top = FirstLineTop(document, block);
        if (block.blockFormat().headingLevel() > 0 && block.next().isValid() &&
            !StartsPage(block.next()) &&
            PageOf(top, pageHeight) != PageOf(FirstLineTop(document, block.next()), pageHeight)) {
            BreakBefore(block);
            return true;
        }
        if (IsCode(block) && !IsCode(block.previous())) {
            QTextBlock last = block;
            while (IsCode(last.next())) {
                last = last.next();
            }
            const qreal bottom = Bottom(document, last);
            if (PageOf(top, pageHeight) != PageOf(bottom - 1, pageHeight) &&
                bottom - top <= pageHeight) {
                BreakBefore(block);
                return true;
            }
        }
    }
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table == nullptr ||
            (table->format().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) != 0) {
            continue;
        }
        const QRectF box = document.documentLayout()->frameBoundingRect(table);
        if (PageOf(box.top(), pageHeight) != PageOf(box.bottom() - 1, pageHeight) &&
            box.height() <= pageHeight) {
            QTextTableFormat format = table->format();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            table->setFormat(format);
            return true;
        }
    }
    return false;
}

void Paginate(QTextDocument& document, std::vector<Part>& parts, qreal pageHeight) {
    // Each move settles one place for good, so this ends; the bound is only a safeguard.
    for (int moves = 0; moves < 1000 && MoveOneToNextPage(document, pageHeight); ++moves) {
    }
    for (Part& part : parts) {
        part.firstPage = PageOf(FirstLineTop(document, part.start.block()), pageHeight);
        for (Entry& entry : part.contents) {
            const int page = PageOf(FirstLineTop(document, entry.heading.block()), pageHeight);
            entry.pageCell.firstCursorPosition().insertText(QString::number(page + 1));
        }
    }
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
    Paginate(document, parts, pageSize.height());
    const int pageCount = document.pageCount();

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
    InsertContents(document, parts);

    if (!WritePdf(document, parts, args.first())) {
        std::fprintf(stderr, "makemanual: cannot write %s\n", qPrintable(args.first()));
        return 1;
    }
    return 0;
}
