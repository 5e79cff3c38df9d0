#pragma once

#include <QFrame>
#include <QPointer>
#include <QTimeLine>

class QVBoxLayout;

// A frame on the top edge of a full-screen widget that slides down into view while the pointer
// is in the top strip as tall as the frame, and back up out of view when it leaves the strip.
class GenericFullscreenPanel : public QFrame
{
    Q_OBJECT

public:
    static constexpr int kSlideDurationMs = 500;

    explicit GenericFullscreenPanel(QWidget* parent = nullptr);
    ~GenericFullscreenPanel() override;

    QWidget* widget() const { return m_widget; }
    void setWidget(QWidget* widget);

    // Moves the panel onto another widget; with none it goes back, hidden, to the widget it was
    // built with (or to no parent when it was built without one).
    void setParentWidget(QWidget* parent);

    bool tabletMode() const { return m_tabletMode; }
    virtual void setTabletMode(bool tabletMode);

    // Fully in view or sliding in / fully out of view or sliding out; neither while paused.
    bool isPanelShown() const;
    bool isPanelHidden() const;
    QTimeLine* timeLine() const { return m_timeLine; }

    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void toggleVisibility();
    void movePanel(int frame);
    void delayedInstallEventFilter();
    void timeLineStateChanged(QTimeLine::State state);

protected:
    void changeEvent(QEvent* event) override;
    // The widget the panel was built with has been deleted: nothing is left to take it back.
    bool ownerGone() const { return m_hadOwner && !m_owner; }

private:
    void slideIn();
    void slideOut();

    QTimeLine* m_timeLine;
    QWidget* m_widget = nullptr;
    QVBoxLayout* m_layout;
    bool m_tabletMode = false;
    QPointer<QWidget> m_owner;
    bool m_hadOwner;
};
