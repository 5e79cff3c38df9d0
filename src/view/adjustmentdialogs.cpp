#include "view/adjustmentdialogs.h"

#include <map>

namespace {

std::map<AdjustmentDialogs::Kind, AdjustmentDialogs::Factory>& factories()
{
    static std::map<AdjustmentDialogs::Kind, AdjustmentDialogs::Factory> registered;
    return registered;
}

} // namespace

void AdjustmentDialogs::setFactory(Kind kind, Factory factory)
{
    factories()[kind] = std::move(factory);
}

AdjustmentDialog* AdjustmentDialogs::create(Kind kind, QWidget* parent, QImage* target,
                                            const QImage& source, const QImage& insert)
{
    const auto found = factories().find(kind);
    if (found == factories().end() || !found->second)
        return nullptr;
    return found->second(parent, target, source, insert);
}
