#pragma once

#include "document/pictureadjustment.h"
#include "view/adjustmentdialog.h"
#include "view/adjustmentdialogs.h"

#include <QList>

#include <functional>
#include <map>

// What a scripted adjustment dialog does: the pass it previews, what it runs between two
// previews, and its answer.
struct AdjustmentScript {
    // Inverts every pixel.
    static PictureAdjustment::Pass inverting();

    PictureAdjustment::Pass pass = inverting();
    std::function<void()> whileOpen;
    bool accept = true;
};

// An adjustment dialog that needs no user: it previews its pass as a real dialog's controls
// would, runs what is to happen while it is open, previews again and answers.
class ScriptedAdjustmentDialog : public AdjustmentDialog
{
    Q_OBJECT

public:
    ScriptedAdjustmentDialog(QWidget* parent, PictureAdjustment* adjustment,
                             AdjustmentScript script);
    int exec() override;

private:
    AdjustmentScript m_script;
};

// Stands in for the registered adjustment dialogs while it lives: every kind opens a scripted
// dialog that follows the script.
class ScriptedAdjustmentDialogs
{
public:
    ScriptedAdjustmentDialogs();
    // The real factories come back.
    ~ScriptedAdjustmentDialogs();
    ScriptedAdjustmentDialogs(const ScriptedAdjustmentDialogs&) = delete;
    ScriptedAdjustmentDialogs& operator=(const ScriptedAdjustmentDialogs&) = delete;

    AdjustmentScript script;
    // The kinds opened, in order.
    QList<AdjustmentDialogs::Kind> opened() const { return m_opened; }

private:
    std::map<AdjustmentDialogs::Kind, AdjustmentDialogs::Factory> m_real;
    QList<AdjustmentDialogs::Kind> m_opened;
};
