#include "support/scriptedadjustmentdialogs.h"

#include <QEventLoop>

namespace {

using Kind = AdjustmentDialogs::Kind;
const QList<Kind> kinds{Kind::Rotate,        Kind::ColorBalance,       Kind::Depth,
                        Kind::HueSaturation, Kind::BrightnessContrast, Kind::Resize,
                        Kind::Insert};

} // namespace

PictureAdjustment::Pass AdjustmentScript::inverting()
{
    PictureAdjustment::Pass pass;
    pass.apply = [](const QImage& source, double) {
        QImage inverted = source.copy();
        inverted.invertPixels();
        return inverted;
    };
    return pass;
}

ScriptedAdjustmentDialog::ScriptedAdjustmentDialog(QWidget* parent,
                                                   PictureAdjustment* adjustment,
                                                   AdjustmentScript script)
    : AdjustmentDialog(parent, adjustment)
    , m_script(std::move(script))
{
}

int ScriptedAdjustmentDialog::exec()
{
    showPass(m_script.pass);
    if (m_script.whileOpen) {
        m_script.whileOpen();
        showPass(m_script.pass);
    }
    if (!m_script.accept)
        return Rejected;
    // Ok may wait for the full-resolution pass, as it does for a person.
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    accept();
    if (result() != Accepted)
        loop.exec();
    return result();
}

ScriptedAdjustmentDialogs::ScriptedAdjustmentDialogs()
{
    for (Kind kind : kinds) {
        m_real[kind] = AdjustmentDialogs::factory(kind);
        AdjustmentDialogs::setFactory(
            kind, [this, kind](QWidget* parent, PictureAdjustment* adjustment, const QImage&) {
                m_opened << kind;
                return new ScriptedAdjustmentDialog(parent, adjustment, script);
            });
    }
}

ScriptedAdjustmentDialogs::~ScriptedAdjustmentDialogs()
{
    for (const auto& [kind, factory] : m_real)
        AdjustmentDialogs::setFactory(kind, factory);
}
