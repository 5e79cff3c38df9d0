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

AdjustmentDialogs::Factory AdjustmentDialogs::factory(Kind kind)
{
    const auto found = factories().find(kind);
    return found == factories().end() ? Factory() : found->second;
}

AdjustmentDialog* AdjustmentDialogs::create(Kind kind, QWidget* parent,
                                            PictureAdjustment* adjustment, const QImage& insert)
{
    const Factory made = factory(kind);
    return made ? made(parent, adjustment, insert) : nullptr;
}
