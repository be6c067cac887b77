// zelvar-markdown-pdf GUIDE.md OUT.PDF: lays out a Markdown file on A4 pages
// with Qt's text document and writes it as PDF. Pictures are found relative
// to the Markdown file and scaled down to the width of the text.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdio>

namespace {

// Pictures wider than the text are drawn at the text's width.
void fitPictures(QTextDocument &document, double textWidth, const QString &folder)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QSize size = QImageReader(folder + QLatin1Char('/') + image.name()).size();
            if (!size.isValid() || size.width() <= textWidth)
                continue;
            image.setWidth(textWidth);
            image.setHeight(textWidth * size.height() / size.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: zelvar-markdown-pdf GUIDE.md OUT.PDF\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Cannot read %s\n", argv[1]);
        return 1;
    }
    const QString folder = QFileInfo(source).absolutePath();

    QPdfWriter pdf(target);
    pdf.setTitle(QStringLiteral("Zelvar: user's guide"));
    pdf.setCreator(QStringLiteral("Zelvar"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                  QPageLayout::Millimeter));
    pdf.setResolution(96);

    QTextDocument document;
    document.setBaseUrl(QUrl::fromLocalFile(folder + QLatin1Char('/')));
    QFont font = document.defaultFont();
    font.setPointSizeF(10.0);
    document.setDefaultFont(font);
    document.setMarkdown(QString::fromUtf8(file.readAll()));
    document.setPageSize(QSizeF(pdf.width(), pdf.height()));
    fitPictures(document, document.textWidth() > 0 ? document.textWidth() - 2 * document.documentMargin()
                                                   : pdf.width() - 2 * document.documentMargin(),
                folder);
    document.print(&pdf);
    if (!QFileInfo(target).isFile() || QFileInfo(target).size() == 0) {
        std::fprintf(stderr, "Cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
