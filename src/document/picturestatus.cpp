#include "document/picturestatus.h"

#include <QRect>
#include <QSize>

namespace {

QString ratioText(const QSize& size)
{
    return QString::number(double(size.height()) / double(size.width()), 'g', 6);
}

} // namespace

QString PictureStatus::imageInfoText(const QSize& size, int depth, const WatchLimits& limits,
                                     bool* flagged)
{
    bool anyFlag = false;
    const auto marked = [&anyFlag](int value, bool under, bool over) {
        QString text = QString::number(value);
        if (under)
            text.prepend(QLatin1Char('!'));
        if (over)
            text.append(QLatin1Char('!'));
        anyFlag = anyFlag || under || over;
        return text;
    };
    const QString width = marked(size.width(), limits.widthMin && size.width() < limits.widthMinValue,
                                 limits.widthMax && size.width() > limits.widthMaxValue);
    const QString height =
        marked(size.height(), limits.heightMin && size.height() < limits.heightMinValue,
               limits.heightMax && size.height() > limits.heightMaxValue);
    if (flagged)
        *flagged = anyFlag;
    return width + QLatin1String(" X ") + height + QLatin1String(" X ") + QString::number(depth)
           + QLatin1String(" (") + ratioText(size) + QLatin1Char(')');
}

QString PictureStatus::browseText(int row, int rowCount)
{
    if (rowCount == 1)
        return QString();
    return QString::number(row + 1) + QLatin1String(" / ") + QString::number(rowCount);
}

QString PictureStatus::markText(const QRect& selection)
{
    return QString::number(selection.width()) + QLatin1String(" X ")
           + QString::number(selection.height()) + QLatin1String(" + ")
           + QString::number(selection.x()) + QLatin1String(" + ")
           + QString::number(selection.y());
}

QString PictureStatus::zoomText(double scale)
{
    return tr("Zoom: %1 %").arg(qRound(scale * 100));
}

QString PictureStatus::fileSizeText(qint64 bytes)
{
    return QString::number(double(bytes) * (1.0 / 1024.0), 'g', 6) + QLatin1String(" kB");
}

QString PictureStatus::fileInfoText(qint64 bytes, const QString& format)
{
    return fileSizeText(bytes) + QLatin1String(" @ ") + format;
}

QString PictureStatus::loadingText()
{
    return tr("Loading…");
}

QString PictureStatus::notSavedText()
{
    return tr("Not saved");
}

QString PictureStatus::titleText(const QString& path, bool notSaved)
{
    if (!notSaved)
        return path;
    return path.isEmpty() ? notSavedText() : tr("%1 (Not saved)").arg(path);
}

QString PictureStatus::readErrorText()
{
    return tr("Read error");
}
