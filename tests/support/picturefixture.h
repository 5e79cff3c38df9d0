#pragma once

#include "support/scriptedadjustmentdialogs.h"
#include "view/spicview.h"

#include <QImage>
#include <QPointer>
#include <QTemporaryDir>

#include <functional>

// A shown picture view of a fixed size over a picture file generated in a sandbox folder, with
// the settings store emptied first. Any test of the picture view starts from one.
class PictureFixture
{
public:
    explicit PictureFixture(const QSize& pictureSize = QSize(64, 48),
                            const QString& fileName = QStringLiteral("picture.png"));
    ~PictureFixture();
    PictureFixture(const PictureFixture&) = delete;
    PictureFixture& operator=(const PictureFixture&) = delete;

    SPicView* view() const { return m_view; }
    QString path(const QString& name) const;
    QString picturePath() const { return m_picturePath; }

    // Runs one adjustment through the view's protocol: the dialog inverts the picture.
    bool runAdjustment(bool accept, std::function<void()> whileOpen = {});
    // A finished selection, as if drawn with the mouse.
    void select(const QRect& rect);

private:
    QTemporaryDir m_dir;
    QString m_picturePath;
    QPointer<SPicView> m_view;
};
