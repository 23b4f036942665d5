#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// What the renderer process is asked to draw or read from an untrusted file.
// It travels as the renderer's arguments, the path as its exact bytes.
struct RenderRequest {
    enum class Kind {
        PdfFirstPage,   // the first page fitting an edge-by-edge square
        PdfScannedPage, // page `page` as a scanner reads it, no larger than `edge`
        PdfTextLayer,   // the text layer of every page
        VideoFrame,     // a frame of a video (or an audio file's cover) fitting `edge`
    };

    Kind kind = Kind::PdfFirstPage;
    QString path;
    int edge = 0;
    int page = 0;

    static RenderRequest pdfFirstPage(const QString& path, int edge);
    static RenderRequest pdfScannedPage(const QString& path, int page, int edge);
    static RenderRequest pdfTextLayer(const QString& path);
    static RenderRequest videoFrame(const QString& path, int edge);

    // True for the kinds whose answer is a picture.
    bool wantsPicture() const;

    QList<QByteArray> arguments() const;
    // None for arguments that name no request.
    static std::optional<RenderRequest> fromArguments(const QList<QByteArray>& arguments);
};
