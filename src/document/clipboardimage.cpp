#include "document/clipboardimage.h"

#include "document/isolatedreader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QRegularExpression>

namespace {

const QMimeData* clipboardData()
{
    return QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
}

// The encoded forms offered, PNG first: lossless, and offered by nearly every program that
// copies pictures.
QStringList encodedForms(const QMimeData& data)
{
    QStringList formats = data.formats().filter(QRegularExpression(QStringLiteral("^image/")));
    if (formats.removeAll(QStringLiteral("image/png")) > 0)
        formats.prepend(QStringLiteral("image/png"));
    return formats;
}

} // namespace

bool ClipboardImage::available()
{
    const QMimeData* data = clipboardData();
    return data && (data->hasImage() || !encodedForms(*data).isEmpty());
}

QImage ClipboardImage::read()
{
    const QMimeData* data = clipboardData();
    if (!data)
        return QImage();
    const QStringList formats = encodedForms(*data);
    if (formats.isEmpty()) // no encoded form: a picture this program put there itself
        return data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
    for (const QString& format : qAsConst(formats)) {
        const QByteArray bytes = data->data(format);
        const QImage image = bytes.isEmpty() ? QImage() : IsolatedReader::readBytes(bytes).image;
        if (!image.isNull())
            return image;
    }
    return QImage();
}
