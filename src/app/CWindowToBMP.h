#pragma once
// Writes a window's current picture, its scroll bars and borders included, to a Windows bitmap
// file: 24 bits per pixel, rows bottom-up, each padded to a multiple of 4 bytes.

#include <QByteArray>
#include <QString>

class QImage;
class QWidget;

class CWindowToBMP
{
public:
    virtual ~CWindowToBMP() = default;

    // False when the picture cannot be taken or the file cannot be written; an existing file of
    // that name is kept unless the new one was written completely.
    bool saveWindow(QWidget* window, const QString& fileName) const;
    // The bitmap file's bytes for an image.
    static QByteArray bitmapFile(const QImage& image);
};
