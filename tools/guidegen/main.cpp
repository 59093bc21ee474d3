// Typesets the product guide from its Markdown source into an A4 PDF: a cover, a table of contents,
// then the text with running footers and page numbers.

#include <QAbstractTextDocumentLayout>
#include <QCommandLineParser>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

const QColor navy(0x14, 0x33, 0x57);
const QColor blue(0x1d, 0x5f, 0xa0);
const QColor accent(0x29, 0x9c, 0xff);
const QColor grey(0x6b, 0x74, 0x80);
const QString bodyFamily = QStringLiteral("DejaVu Sans");
const QString monoFamily = QStringLiteral("DejaVu Sans Mono");

const int dpi = 300;

qreal mm(qreal millimetres) {
    return millimetres * dpi / 25.4;
}

QFont font(qreal points, QFont::Weight weight = QFont::Normal, const QString& family = bodyFamily) {
    QFont f(family);
    f.setPointSizeF(points);
    f.setWeight(weight);
    return f;
}

struct Heading {
    int level;
    QString text;
    int page; // 0-based page of the body text
};

// A paragraph that holds nothing but a picture (not a table cell, where breaks belong to the table).
bool isPictureBlock(const QTextBlock& block) {
    const QString text = block.text();
    return text.contains(QChar::ObjectReplacementCharacter) &&
           QString(text).remove(QChar::ObjectReplacementCharacter).trimmed().isEmpty() &&
           !QTextCursor(block).currentTable();
}

// Heading sizes, spacing and page breaks, tables with rules and a shaded head, framed pictures.
void styleDocument(QTextDocument& doc, qreal textWidth) {
    QTextCursor cursor(&doc);
    bool firstChapter = true;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        cursor.setPosition(block.position());
        QTextBlockFormat format = block.blockFormat();
        const int level = format.headingLevel();
        QTextCharFormat chars;
        if (level > 0) {
            const qreal sizes[] = {20, 14, 11.5, 10.5};
            chars.setFont(font(sizes[qMin(level, 4) - 1], QFont::Bold));
            chars.setForeground(level == 1 ? navy : blue);
            format.setTopMargin(level == 1 ? 0 : mm(level == 2 ? 6 : 4));
            format.setBottomMargin(mm(level == 1 ? 5 : 2));
            if (level == 1) {
                if (!firstChapter)
                    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                firstChapter = false;
            }
            format.setLineHeight(110, QTextBlockFormat::ProportionalHeight);
        } else {
            format.setLineHeight(130, QTextBlockFormat::ProportionalHeight);
            format.setBottomMargin(block.textList() ? mm(1) : mm(2.4));
            chars.setFontFamily(bodyFamily);
            chars.setFontPointSize(10);
        }
        cursor.setBlockFormat(format);
        // Re-font each run, keeping bold, italic and code from the Markdown.
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCursor run(&doc);
            run.setPosition(fragment.position());
            run.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            QTextCharFormat merged = chars;
            const QTextCharFormat own = fragment.charFormat();
            if (own.isImageFormat()) {
                QTextImageFormat image = own.toImageFormat();
                const QImage picture = doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
                if (!picture.isNull()) {
                    // Pictures at about 0.27 mm per pixel: the size they have on a typical screen.
                    // Icons a little larger than on screen, so they stay legible in print; pictures smaller.
                    const qreal mmPerPixel = picture.width() > 64 ? 0.13 : 0.22;
                    // The text layout scales image sizes from 96 dpi to the device resolution itself.
                    const qreal width = qMin(textWidth * 0.6, mm(picture.width() * mmPerPixel)) * 96 / dpi;
                    image.setWidth(width);
                    image.setHeight(width * picture.height() / picture.width());
                    run.setCharFormat(image);
                    if (isPictureBlock(block) && picture.width() > 64) {
                        QTextBlockFormat centred = block.blockFormat();
                        centred.setAlignment(Qt::AlignHCenter);
                        centred.setTopMargin(mm(2));
                        centred.setBottomMargin(mm(4));
                        // A proportional line height would stretch the picture's line too.
                        centred.setLineHeight(100, QTextBlockFormat::SingleHeight);
                        run.setBlockFormat(centred);
                    }
                }
                continue;
            }
            if (own.fontFixedPitch() || own.fontFamily().contains(QLatin1String("Mono"))) {
                merged.setFontFamily(monoFamily);
                merged.setFontPointSize(level > 0 ? merged.fontPointSize() : 9);
                merged.setForeground(QColor(0x8a, 0x2b, 0x2b));
            }
            if (own.fontWeight() > QFont::Normal)
                merged.setFontWeight(QFont::Bold);
            if (own.fontItalic())
                merged.setFontItalic(true);
            if (own.isAnchor()) {
                merged.setForeground(blue);
                merged.setAnchor(true);
                merged.setAnchorHref(own.anchorHref());
            }
            run.setCharFormat(merged);
        }
    }

    // Tables: thin rules, padding, a shaded header row.
    const QList<QTextFrame*> frames = doc.rootFrame()->childFrames();
    for (QTextFrame* frame : frames) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        // Frame measures are taken as 96 dpi pixels and scaled to the device by the layout.
        const qreal css = 96.0 / dpi;
        format.setBorder(mm(0.25) * css);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(QColor(0xb8, 0xc0, 0xca));
        format.setCellPadding(mm(1.3) * css);
        format.setCellSpacing(0);
        format.setBorderCollapse(true);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setTopMargin(mm(1) * css);
        format.setBottomMargin(mm(4) * css);
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat cellFormat = cell.format();
            cellFormat.setBackground(QColor(0xe8, 0xee, 0xf5));
            cell.setFormat(cellFormat);
        }
        // Paragraph spacing belongs between paragraphs, not inside cells.
        QTextBlockFormat cellBlocks;
        cellBlocks.setTopMargin(0);
        cellBlocks.setBottomMargin(0);
        cellBlocks.setLineHeight(118, QTextBlockFormat::ProportionalHeight);
        QTextCursor cells(table->firstCursorPosition());
        cells.setPosition(table->lastCursorPosition().position(), QTextCursor::KeepAnchor);
        cells.mergeBlockFormat(cellBlocks);
    }
}

// A heading whose following block starts on the next page moves there with it.
void keepHeadingsWithText(QTextDocument& doc, qreal pageHeight) {
    for (int round = 0; round < 50; ++round) {
        // The layout works lazily and in pieces: lay out the whole document before measuring it.
        doc.markContentsDirty(0, doc.characterCount());
        doc.documentLayout()->documentSize();
        bool moved = false;
        for (QTextBlock block = doc.begin(); block.isValid() && !moved; block = block.next()) {
            const QTextBlock next = block.next();
            // The layout breaks pages between lines only, so a picture taller than the rest of a page
            // would be cut: start it on the next page.
            const QRectF rect = doc.documentLayout()->blockBoundingRect(block);
            if (isPictureBlock(block) && int(rect.top() / pageHeight) != int(rect.bottom() / pageHeight) &&
                block.blockFormat().pageBreakPolicy() != QTextFormat::PageBreak_AlwaysBefore) {
                QTextCursor cursor(block);
                QTextBlockFormat format = block.blockFormat();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                cursor.setBlockFormat(format);
                moved = true;
                continue;
            }
            if (block.blockFormat().headingLevel() < 2 || !next.isValid())
                continue;
            const QRectF here = doc.documentLayout()->blockBoundingRect(block);
            const QRectF after = doc.documentLayout()->blockBoundingRect(next);
            if (int(here.top() / pageHeight) != int((after.top() + 1) / pageHeight)) {
                // A larger space above pushes the heading over (a page break on a block that follows a
                // table loses text in the layout).
                QTextCursor cursor(block);
                QTextBlockFormat format = block.blockFormat();
                const qreal pageEnd = (int(here.top() / pageHeight) + 1) * pageHeight;
                format.setTopMargin(format.topMargin() + pageEnd - here.top() + 1);
                cursor.setBlockFormat(format);
                // The heading now opens the page; what follows it need not break again.
                QTextCursor following(next);
                QTextBlockFormat nextFormat = next.blockFormat();
                nextFormat.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
                following.setBlockFormat(nextFormat);
                moved = true;
            }
        }
        if (!moved)
            break;
    }
    doc.markContentsDirty(0, doc.characterCount());
    doc.documentLayout()->documentSize();
}

QVector<Heading> headings(QTextDocument& doc, qreal pageHeight) {
    QVector<Heading> list;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 0 || level > 2)
            continue;
        const QRectF rect = doc.documentLayout()->blockBoundingRect(block);
        list.append({level, block.text(), int(rect.top() / pageHeight)});
    }
    return list;
}

void drawCover(QPainter& p, const QRectF& page, const QImage& panel, const QString& version) {
    // A dark band across the top with the title, the keypad below it.
    const QRectF band(0, 0, page.width(), page.height() * 0.42);
    QLinearGradient night(band.topLeft(), band.bottomRight());
    night.setColorAt(0, QColor(0x10, 0x1c, 0x2e));
    night.setColorAt(1, QColor(0x1b, 0x30, 0x4c));
    p.fillRect(band, night);

    // A strip of the keypad's light colours along the lower edge (opaque: the PDF engine flattens
    // translucent gradients).
    QLinearGradient strip(band.bottomLeft(), band.bottomRight());
    strip.setColorAt(0, accent);
    strip.setColorAt(0.55, QColor(0xc8, 0x4c, 0xd8));
    strip.setColorAt(1, QColor(0xff, 0x9a, 0x3c));
    p.fillRect(QRectF(0, band.bottom() - mm(2.5), band.width(), mm(2.5)), strip);

    p.setPen(Qt::white);
    p.setFont(font(40, QFont::Bold));
    p.drawText(QPointF(mm(22), band.height() * 0.42), QStringLiteral("Lumetto"));
    p.setFont(font(20));
    p.setPen(QColor(0xd8, 0xe4, 0xf2));
    p.drawText(QPointF(mm(23), band.height() * 0.42 + mm(13)), QStringLiteral("Keypad Effect Manager"));
    p.fillRect(QRectF(mm(23), band.height() * 0.42 + mm(19), mm(70), mm(0.8)), accent);
    p.setFont(font(16, QFont::Bold));
    p.setPen(Qt::white);
    p.drawText(QPointF(mm(23), band.height() * 0.42 + mm(31)), QStringLiteral("Product Guide"));
    p.setFont(font(11));
    p.setPen(QColor(0xa9, 0xb8, 0xca));
    p.drawText(QPointF(mm(23), band.height() * 0.42 + mm(39)), QStringLiteral("Version %1").arg(version));

    if (!panel.isNull()) {
        const qreal width = mm(70);
        const qreal height = width * panel.height() / panel.width();
        const QRectF target((page.width() - width) / 2, band.bottom() + mm(14), width, height);
        p.drawImage(target, panel);
    }
    p.setFont(font(9));
    p.setPen(grey);
    p.drawText(QRectF(0, page.height() - mm(22), page.width(), mm(8)), Qt::AlignCenter,
               QStringLiteral("Orvane  \u00b7  Lumetto networked wall keypads"));
}

void drawFooter(QPainter& p, const QRectF& page, const QRectF& text, int number) {
    const qreal y = text.bottom() + mm(8);
    p.setPen(QPen(QColor(0xc8, 0xcf, 0xd8), mm(0.25)));
    p.drawLine(QPointF(text.left(), y), QPointF(text.right(), y));
    p.setFont(font(8));
    p.setPen(grey);
    const QRectF line(text.left(), y + mm(1.5), text.width(), mm(5));
    p.drawText(line, Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Lumetto Keypad Effect Manager \u2014 Product Guide"));
    p.drawText(line, Qt::AlignRight | Qt::AlignTop, QString::number(number));
    Q_UNUSED(page)
}

void drawContents(QPainter& p, const QRectF& text, const QVector<Heading>& list, int firstBodyPage) {
    p.setPen(navy);
    p.setFont(font(20, QFont::Bold));
    qreal y = text.top() + mm(8);
    p.drawText(QPointF(text.left(), y), QStringLiteral("Contents"));
    y += mm(12);
    for (const Heading& heading : list) {
        const bool chapter = heading.level == 1;
        if (chapter)
            y += mm(2.5);
        p.setFont(font(chapter ? 10.5 : 9.5, chapter ? QFont::Bold : QFont::Normal));
        p.setPen(chapter ? navy : QColor(0x33, 0x3a, 0x44));
        const qreal indent = chapter ? 0 : mm(6);
        const QString number = QString::number(heading.page + firstBodyPage);
        const QFontMetricsF metrics(p.font());
        const qreal titleWidth = metrics.horizontalAdvance(heading.text);
        const qreal numberWidth = metrics.horizontalAdvance(number);
        p.drawText(QPointF(text.left() + indent, y), heading.text);
        p.drawText(QPointF(text.right() - numberWidth, y), number);
        // Dot leaders between title and page number.
        p.setPen(QColor(0xa0, 0xa8, 0xb2));
        const qreal dot = metrics.horizontalAdvance(QLatin1Char('.')) * 2.2;
        for (qreal x = text.left() + indent + titleWidth + mm(2); x < text.right() - numberWidth - mm(2); x += dot)
            p.drawText(QPointF(x, y), QStringLiteral("."));
        y += chapter ? mm(6.5) : mm(5.5);
        if (y > text.bottom())
            break;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Typesets the product guide as a PDF."));
    parser.addHelpOption();
    const QCommandLineOption input(QStringLiteral("input"), QStringLiteral("Markdown source."), QStringLiteral("file"));
    const QCommandLineOption images(QStringLiteral("images"), QStringLiteral("Folder of the pictures it shows."),
                                    QStringLiteral("folder"));
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("PDF to write."), QStringLiteral("file"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Version on the cover."),
                                     QStringLiteral("text"), QStringLiteral("1.3"));
    parser.addOptions({input, images, output, version});
    parser.process(app);
    if (!parser.isSet(input) || !parser.isSet(output)) {
        qCritical() << "--input and --output are required";
        return 2;
    }

    QFile source(parser.value(input));
    if (!source.open(QIODevice::ReadOnly)) {
        qCritical() << "cannot read" << source.fileName() << source.errorString();
        return 1;
    }
    const QString markdown = QString::fromUtf8(source.readAll());

    const QString pdfPath = parser.value(output);
    if (!QDir().mkpath(QFileInfo(pdfPath).absolutePath())) {
        qCritical() << "cannot create the folder for" << pdfPath;
        return 1;
    }
    // Written beside the target and renamed at the end, so a failed run never leaves half a guide.
    const QString partialPath = pdfPath + QStringLiteral(".part");
    int pageCount = 0;
    {
        QPdfWriter writer(partialPath);
        writer.setResolution(dpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("Lumetto Keypad Effect Manager \u2014 Product Guide"));
        writer.setCreator(QStringLiteral("Lumetto Keypad Effect Manager %1").arg(parser.value(version)));

        const QRectF page(0, 0, writer.width(), writer.height());
        const QRectF text(mm(22), mm(20), page.width() - mm(44), page.height() - mm(20) - mm(26));

        QTextDocument doc;
        doc.documentLayout()->setPaintDevice(&writer);
        QFont base = font(10);
        doc.setDefaultFont(base);
        doc.setDocumentMargin(0);
        doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
        // After setMarkdown, which clears the document's resources.
        const QDir imageDir(parser.value(images));
        const QStringList pictures =
            parser.isSet(images) ? imageDir.entryList({QStringLiteral("*.png")}, QDir::Files) : QStringList();
        for (const QString& name : pictures) {
            const QImage picture(imageDir.filePath(name));
            if (picture.isNull())
                qWarning() << "cannot read" << imageDir.filePath(name);
            doc.addResource(QTextDocument::ImageResource, QUrl(name), picture);
        }
        doc.setTextWidth(text.width());
        styleDocument(doc, text.width());
        doc.setPageSize(text.size());
        keepHeadingsWithText(doc, text.height());

        const QVector<Heading> list = headings(doc, text.height());
        const int bodyPages = doc.pageCount();
        const int firstBodyPage = 3; // after the cover and the contents

        QPainter p;
        if (!p.begin(&writer)) {
            qCritical() << "cannot write" << partialPath;
            return 1;
        }
        p.setRenderHint(QPainter::Antialiasing);
        const QImage coverPicture =
            parser.isSet(images) ? QImage(imageDir.filePath(QStringLiteral("keypad.png"))) : QImage();
        drawCover(p, page, coverPicture, parser.value(version));
        writer.newPage();
        drawContents(p, text, list, firstBodyPage);
        drawFooter(p, page, text, 2);
        for (int i = 0; i < bodyPages; ++i) {
            writer.newPage();
            p.save();
            p.translate(text.left(), text.top() - i * text.height());
            doc.drawContents(&p, QRectF(0, i * text.height(), text.width(), text.height()));
            p.restore();
            drawFooter(p, page, text, firstBodyPage + i);
        }
        p.end();
        pageCount = firstBodyPage - 1 + bodyPages;
    }
    QFile::remove(pdfPath);
    if (!QFile::rename(partialPath, pdfPath)) {
        qCritical() << "cannot move" << partialPath << "to" << pdfPath;
        return 1;
    }
    qDebug().noquote() << "wrote" << pdfPath << "with" << pageCount << "pages";
    return 0;
}
