#include "support/picturefixture.h"

#include "settings/settings.h"
#include "support/pictureloading.h"
#include "view/smark.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QSettings>
#include <QtTest>

PictureFixture::PictureFixture(const QSize& pictureSize, const QString& fileName)
{
    Settings::instance()->store()->clear();
    m_picturePath = path(fileName);
    writePicture(m_picturePath, pictureSize);
    m_view = new SPicView(5);
    m_view->resize(400, 300);
    m_view->show();
    if (!QTest::qWaitForWindowExposed(m_view))
        return;
    m_view->openFile(m_picturePath);
    waitForPicture(m_view);
}

PictureFixture::~PictureFixture()
{
    // The view deletes itself when a test closes it.
    delete m_view.data();
}

QString PictureFixture::path(const QString& name) const
{
    return m_dir.path() + QLatin1Char('/') + name;
}

QImage PictureFixture::rampImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(x * 255 / std::max(1, size.width() - 1),
                           y * 255 / std::max(1, size.height() - 1), (x * 7 + y * 13) % 256);
    }
    return image;
}

bool PictureFixture::writePicture(const QString& path, const QSize& size, const char* format)
{
    return rampImage(size).save(path, format);
}

bool PictureFixture::runAdjustment(bool accept, std::function<void()> whileOpen)
{
    AdjustmentScript script;
    script.accept = accept;
    script.whileOpen = std::move(whileOpen);
    return m_view->runAdjustment(
        [script](SPicView* parent, PictureAdjustment* adjustment) {
            return new ScriptedAdjustmentDialog(parent, adjustment, script);
        },
        SPicView::AdjustmentOptions());
}

void PictureFixture::select(const QRect& rect)
{
    SPic* pic = m_view->pic();
    pic->setSelection(rect);
    pic->mark()->setMode(MarkMode::Selected);
    pic->mark()->show();
}
