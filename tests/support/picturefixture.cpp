#include "support/picturefixture.h"
#include "support/lumotest.h"

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
    lumotest::writePicture(m_picturePath, pictureSize);
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
