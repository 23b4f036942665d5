#include "media/media_fixtures.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
void runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ASSERT_TRUE(process.waitForFinished(120000)) << program.toStdString();
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(process.exitCode(), 0) << process.readAll().toStdString();
}
} // namespace

QImage halvesPicture(int width, int height, const QColor& left, const QColor& right)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, left);
    painter.fillRect(width / 2, 0, width - width / 2, height, right);
    return image;
}

void savePicture(const QImage& image, const QString& path, int quality)
{
    ASSERT_TRUE(image.save(path, nullptr, quality)) << path.toStdString();
}

void setExifOrientation(const QString& path, int orientation)
{
    runTool(
        QStringLiteral("exiv2"),
        {QStringLiteral("-M") + QStringLiteral("set Exif.Image.Orientation %1").arg(orientation),
         path});
}

QImage textPicture(const QStringList& lines)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(48);
    const int lineHeight = 90;
    QImage image(1000, 60 + lineHeight * int(lines.size()), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(QPoint(40, 40 + 48 + i * lineHeight), lines[i]);
    return image;
}

void runFfmpeg(const QStringList& arguments)
{
    runTool(QStringLiteral("ffmpeg"),
            QStringList{QStringLiteral("-nostdin"), QStringLiteral("-loglevel"),
                        QStringLiteral("error"), QStringLiteral("-y")} +
                arguments);
}

void runConvert(const QStringList& arguments)
{
    runTool(QStringLiteral("convert"), arguments);
}

void saveHeif(const QImage& image, const QString& path)
{
    const QString png = path + QStringLiteral(".source.png");
    ASSERT_TRUE(image.save(png, "PNG"));
    if (path.endsWith(QStringLiteral(".avif"), Qt::CaseInsensitive))
        runFfmpeg({QStringLiteral("-i"), png, QStringLiteral("-c:v"), QStringLiteral("libaom-av1"),
                   QStringLiteral("-still-picture"), QStringLiteral("1"), QStringLiteral("-f"),
                   QStringLiteral("avif"), path});
    else
        runTool(QStringLiteral("heif-enc"),
                {QStringLiteral("-q"), QStringLiteral("90"), png, QStringLiteral("-o"), path});
    QFile::remove(png);
}

void makeDng(const QString& path, const QStringList& extra)
{
    runTool(QStringLiteral("python3"),
            QStringList{QStringLiteral(QUORVANE_MKDNG_PATH)} + extra + QStringList{path});
}

void makeScannedPdf(const QString& path, const QList<QStringList>& pages)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A6));
    writer.setPageMargins(QMarginsF());
    writer.setResolution(300);
    QPainter painter(&writer);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) writer.newPage();
        painter.drawImage(QPoint(0, 0), textPicture(pages[i]));
    }
    ASSERT_TRUE(painter.end());
}

QByteArray drawingBombPdf(int rectangles)
{
    QByteArray drawing;
    drawing.reserve(qsizetype(rectangles) * 16);
    for (int i = 0; i < rectangles; ++i)
        drawing += "0 0 612 792 re f\n";
    const QByteArray packed = qCompress(drawing, 9).mid(4); // zlib stream without Qt's length
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >>",
        "<< /Length " + QByteArray::number(packed.size()) + " /Filter /FlateDecode >>\nstream\n" +
            packed + "\nendstream"};
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

void makePdf(const QString& path, const QStringList& lines, const QStringList& extra)
{
    runTool(QStringLiteral("python3"),
            QStringList{QStringLiteral(QUORVANE_MKPDF_PATH)} + extra + QStringList{path} + lines);
}

QColor meanColor(const QImage& image, const QRect& area)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    qint64 red = 0, green = 0, blue = 0, count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = rgb.pixel(x, y);
            red += qRed(pixel);
            green += qGreen(pixel);
            blue += qBlue(pixel);
            ++count;
        }
    if (count == 0) return {};
    return QColor(int(red / count), int(green / count), int(blue / count));
}
