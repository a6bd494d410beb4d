// Turns the manual's Markdown source into "Tallyleaf.pdf": an A4 document with a title page, a
// table of contents and page numbers, on Qt alone, so that the build needs no other toolchain.
//
//     make_manual SOURCE.md OUTPUT.pdf
//
// Images named in the source are read relative to its folder and scaled to the text width.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <cstdio>
#include <vector>

namespace {

constexpr int Resolution = 300;  // dots per inch of the PDF's coordinates
constexpr double MarginMillimetres = 20;

struct Heading {
    int level;
    QString text;
    int page;  // from 1, counted from the first page of the body
};

// Every image the source names, loaded from beside the source and sized to fit the text width.
void PlaceImages(QTextDocument& document, const QString& folder, double textWidth) {
    std::vector<std::pair<int, QTextImageFormat>> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFormat format = fragment.fragment().charFormat();
            if (format.isImageFormat()) {
                images.emplace_back(fragment.fragment().position(), format.toImageFormat());
            }
        }
    }
    for (auto& [position, format] : images) {
        const QImage image(folder + "/" + format.name());
        if (image.isNull()) {
            std::fprintf(stderr, "make_manual: cannot read image %s\n", qPrintable(format.name()));
            continue;
        }
        document.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
        // Image sizes are in screen pixels of 96 to the inch, which the layout scales to the
        // PDF's resolution. Screenshots at about 110 pixels to the inch, never wider than the text.
        const double width = std::min(textWidth * 96.0 / Resolution, image.width() * 96.0 / 110.0);
        format.setWidth(width);
        format.setHeight(width * image.height() / image.width());
        QTextCursor cursor(&document);
        cursor.setPosition(position);
        cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

// Code blocks keep their lines, but one too long for the page wraps instead of running off its
// right edge.
void WrapCodeBlocks(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (!format.nonBreakableLines()) continue;
        format.setNonBreakableLines(false);
        QTextCursor(block).setBlockFormat(format);
    }
}

// Every chapter begins on a page of its own.
void BreakPagesBeforeChapters(QTextDocument& document) {
    bool first = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 1) continue;
        if (first) {
            first = false;
            continue;
        }
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    }
}

std::vector<Heading> HeadingsOf(QTextDocument& document, double pageHeight) {
    std::vector<Heading> headings;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 2) continue;
        const double top = document.documentLayout()->blockBoundingRect(block).top();
        headings.push_back({level, block.text(), static_cast<int>(top / pageHeight) + 1});
    }
    return headings;
}

QString ContentsHtml(const std::vector<Heading>& headings, int firstBodyPage) {
    QString html = "<h1>Contents</h1><table width=\"100%\" cellpadding=\"3\">";
    for (const Heading& heading : headings) {
        const QString indent = heading.level == 1 ? "" : "&nbsp;&nbsp;&nbsp;&nbsp;";
        const QString weight = heading.level == 1 ? "font-weight:bold;" : "";
        html += QString("<tr><td style=\"%1\">%2%3</td><td align=\"right\">%4</td></tr>")
                    .arg(weight, indent, heading.text.toHtmlEscaped())
                    .arg(heading.page + firstBodyPage - 1);
    }
    return html + "</table>";
}

// Draws page `index` (from 0) of a laid-out document at the writer's text area.
void DrawPage(QPainter& painter, QTextDocument& document, int index, const QRectF& area) {
    painter.save();
    painter.translate(area.left(), area.top() - index * area.height());
    const QRectF clip(0, index * area.height(), area.width(), area.height());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    painter.setClipRect(clip);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
}

void DrawPageNumber(QPainter& painter, int number, const QRectF& area) {
    painter.save();
    QFont font("DejaVu Sans", 9);
    painter.setFont(font);
    const QRectF footer(area.left(), area.bottom() + Resolution * 0.15, area.width(),
                        Resolution * 0.3);
    painter.drawText(footer, Qt::AlignHCenter | Qt::AlignTop, QString::number(number));
    painter.restore();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_manual SOURCE.md OUTPUT.pdf\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_manual: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QString::fromUtf8(source.readAll());
    const QString folder = QFileInfo(source).absolutePath();

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setResolution(Resolution);
    writer.setTitle("Tallyleaf: the manual");
    writer.setCreator("Tallyleaf");
    writer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(MarginMillimetres, MarginMillimetres, MarginMillimetres, MarginMillimetres),
        QPageLayout::Millimeter));
    // A painter on the writer has its origin at the top left corner inside the margins.
    const QRectF area(QPointF(0, 0), writer.pageLayout().paintRectPixels(Resolution).size());
    const QRectF text(0, 0, area.width(), area.height());

    QFont bodyFont("DejaVu Serif", 10);
    QTextDocument body;
    body.documentLayout()->setPaintDevice(&writer);
    body.setDefaultFont(bodyFont);
    body.setMarkdown(markdown);
    PlaceImages(body, folder, text.width());
    WrapCodeBlocks(body);
    BreakPagesBeforeChapters(body);
    body.setPageSize(text.size());
    const std::vector<Heading> headings = HeadingsOf(body, text.height());

    // The contents come before the body, so their length decides where the body starts.
    QTextDocument contents;
    contents.documentLayout()->setPaintDevice(&writer);
    contents.setDefaultFont(bodyFont);
    contents.setPageSize(text.size());
    contents.setHtml(ContentsHtml(headings, 2));
    const int contentsPages = contents.pageCount();
    contents.setHtml(ContentsHtml(headings, 2 + contentsPages));
    contents.setPageSize(text.size());

    QPainter painter(&writer);
    // The title page.
    painter.setFont(QFont("DejaVu Sans", 32, QFont::Bold));
    painter.drawText(QRectF(area.left(), area.top() + area.height() * 0.3, area.width(), 400),
                     Qt::AlignHCenter, "Tallyleaf");
    painter.setFont(QFont("DejaVu Sans", 14));
    painter.drawText(QRectF(area.left(), area.top() + area.height() * 0.3 + 420, area.width(), 600),
                     Qt::AlignHCenter | Qt::TextWordWrap,
                     "The reading-challenge booklist and the library catalogue, side by side\n\n"
                     "A manual for school librarians");

    int pageNumber = 1;
    for (int page = 0; page < contents.pageCount(); ++page) {
        writer.newPage();
        DrawPage(painter, contents, page, area);
        DrawPageNumber(painter, ++pageNumber, area);
    }
    for (int page = 0; page < body.pageCount(); ++page) {
        writer.newPage();
        DrawPage(painter, body, page, area);
        DrawPageNumber(painter, ++pageNumber, area);
    }
    painter.end();
    std::printf("%s: %d pages\n", argv[2], pageNumber);
    return 0;
}
