// Build-time tool: typesets the User's Guide from its Markdown source into a
// PDF with a table of contents and page numbers.
//
//   make_users_guide SOURCE.md OUTPUT.pdf
//
// Images named "picture:NAME" are the program's own compiled-in pictures;
// other image names are files relative to the source's folder. A missing
// image or an unwritable output ends the tool with a non-zero status and no
// PDF.

#include "resources/tessaline_resources.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <cstdio>

namespace {

constexpr int kDotsPerInch = 96;
constexpr qreal kMargin = 72;     // pixels at 96 dpi, about 19 mm
constexpr qreal kFooter = 36;     // room for the page number below the text
constexpr int kContentsLevels = 2; // chapters and their sections

class guide_document : public QTextDocument
{
public:
    guide_document(const QString &folder, qreal widest) : m_folder(folder), m_widest(widest) {}
    QStringList missing;

protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        if (type != QTextDocument::ImageResource)
            return QTextDocument::loadResource(type, name);
        const QString spelled = QUrl::fromPercentEncoding(name.toString(QUrl::FullyEncoded).toUtf8());
        QImage image;
        if (spelled.startsWith(QLatin1String("picture:")))
            image.load(QStringLiteral(":/images/Resources/") + spelled.mid(8));
        else
            image.load(m_folder + QLatin1Char('/') + spelled);
        if (image.isNull()) {
            missing << spelled;
            return QVariant();
        }
        if (image.width() > m_widest)
            image = image.scaledToWidth(int(m_widest), Qt::SmoothTransformation);
        return image;
    }

private:
    QString m_folder;
    qreal m_widest;
};

struct heading
{
    int level;
    QString text;
    QTextBlock block;
};

QList<heading> headings_of(const QTextDocument &document)
{
    QList<heading> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level >= 1 && level <= kContentsLevels)
            found.append({level, block.text(), block});
    }
    return found;
}

// Every chapter starts on a new page.
void break_before_chapters(const QList<heading> &headings)
{
    for (const heading &h : headings) {
        if (h.level != 1)
            continue;
        QTextCursor cursor(h.block);
        QTextBlockFormat format = h.block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(format);
    }
}

// The title and a contents table with one row per heading at the top;
// returns the table.
QTextTable *insert_contents(QTextDocument &document, const QList<heading> &headings, const QString &title)
{
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::Start);
    // A new first block, made plain: it took the first heading's format.
    cursor.insertBlock();
    cursor.movePosition(QTextCursor::Start);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setBottomMargin(24);
    cursor.setBlockFormat(centred);
    QTextCharFormat big;
    big.setFontPointSize(24);
    big.setFontWeight(QFont::Bold);
    cursor.setCharFormat(big);
    cursor.insertText(title, big);
    cursor.insertBlock(QTextBlockFormat());
    QTextCharFormat label;
    label.setFontPointSize(15);
    label.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Contents"), label);
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(1);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 90), QTextLength(QTextLength::PercentageLength, 10)});
    QTextTable *table = cursor.insertTable(headings.size(), 2, format);
    for (int row = 0; row < headings.size(); ++row) {
        QTextCharFormat entry;
        entry.setFontPointSize(10);
        entry.setFontWeight(headings[row].level == 1 ? QFont::Bold : QFont::Normal);
        QTextCursor cell = table->cellAt(row, 0).firstCursorPosition();
        cell.insertText(QString(4 * (headings[row].level - 1), QChar::Nbsp) + headings[row].text, entry);
        QTextCursor number = table->cellAt(row, 1).firstCursorPosition();
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        number.setBlockFormat(right);
        number.insertText(QStringLiteral("000"), entry);
    }
    return table;
}

int page_of(const QTextDocument &document, const QTextBlock &block)
{
    const qreal top = document.documentLayout()->blockBoundingRect(block).top();
    return int(top / document.pageSize().height()) + 1;
}

// Writes the page numbers into the table; they keep the rows' heights, so
// the pages found stay true.
void number_contents(QTextDocument &document, QTextTable *table, const QList<heading> &headings)
{
    for (int row = 0; row < headings.size(); ++row) {
        QTextCursor cell = table->cellAt(row, 1).firstCursorPosition();
        cell.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cell.insertText(QString::number(page_of(document, headings[row].block)));
    }
}

void paint_pages(QTextDocument &document, QPdfWriter &writer)
{
    const QSizeF content = document.pageSize();
    QPainter painter(&writer);
    for (int page = 0; page < document.pageCount(); ++page) {
        if (page > 0)
            writer.newPage();
        painter.save();
        painter.translate(kMargin, kMargin - page * content.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * content.height(), content.width(), content.height());
        // A block that starts a page may reach back into the one before.
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setPen(Qt::darkGray);
        painter.drawText(QRectF(kMargin, kMargin + content.height(), content.width(), kFooter), Qt::AlignCenter,
                         QString::number(page + 1));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    tessaline_init_resources();
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make_users_guide SOURCE.md OUTPUT.pdf\n");
        return 2;
    }
    QFile source(args[1]);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "make_users_guide: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    QSaveFile output(args[2]);
    if (!output.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "make_users_guide: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    const QString title = QStringLiteral("Tessaline User's Guide");
    QPdfWriter writer(&output);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Tessaline"));
    writer.setResolution(kDotsPerInch);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    const QSizeF content(writer.width() - 2 * kMargin, writer.height() - 2 * kMargin - kFooter);

    // Laid out for the PDF's resolution, so that what is measured for the
    // contents is what is printed.
    guide_document document(QFileInfo(args[1]).absolutePath(), content.width());
    document.documentLayout()->setPaintDevice(&writer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    // No ligatures: a reader searching the PDF for "profile" finds it.
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    document.setPageSize(content);
    document.setMarkdown(QString::fromUtf8(source.readAll()));

    QTextTable *contents = insert_contents(document, headings_of(document), title);
    const QList<heading> headings = headings_of(document);
    break_before_chapters(headings);
    number_contents(document, contents, headings);
    if (!document.missing.isEmpty()) {
        std::fprintf(stderr, "make_users_guide: missing images: %s\n", qPrintable(document.missing.join(", ")));
        return 1;
    }
    paint_pages(document, writer);
    if (!output.commit()) {
        std::fprintf(stderr, "make_users_guide: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
