#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QListWidget;
class QSpinBox;

// Entry of a new width and height, optionally keeping the aspect ratio of a base size.
// Shared by the resize, insert and new-image dialogs, which read newWidth() and newHeight().
class SCSizeChanger : public QWidget
{
    Q_OBJECT

public:
    SCSizeChanger(int baseWidth, int baseHeight, QWidget* parent = nullptr);

    int newWidth() const { return m_newWidth; }
    int newHeight() const { return m_newHeight; }

public slots:
    void widthChanged(int newWidth);
    void heightChanged(int newHeight);
    void widthUnitChanged(int index);
    void heightUnitChanged(int index);
    void keepAspectRatioChanged(bool on);

signals:
    void sizeChanged();

private:
    // The other dimension follows the edited one; the value typed stays as typed, so rounding
    // cannot bounce back and change it.
    void keepRatio(QSpinBox* edited, QSpinBox* following);
    int followingValue(const QSpinBox* spinBox) const;
    void syncNewSize();
    void showRatio();

    int m_newWidth;
    int m_newHeight;
    const int m_baseWidth;
    const int m_baseHeight;
    bool m_widthLastChanged = false;
    bool m_following = false;
    QSpinBox* m_widthSpinBox;
    QSpinBox* m_heightSpinBox;
    QListWidget* m_widthUnitList;
    QListWidget* m_heightUnitList;
    QLabel* m_ratioLabel;
    QCheckBox* m_keepRatioBox;
};
