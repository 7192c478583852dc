#include "effects/EffectFrame.h"

#include <algorithm>
#include <cstring>

namespace px {

std::vector<EffectParameter> trackBarParameters(const AdjustmentDialogSetup& setup)
{
    std::vector<EffectParameter> parameters;
    for (const TrackBarSetup& t : setup.trackBars)
        parameters.push_back({.name = t.parameter, .minimum = t.minimum, .maximum = t.maximum});
    return parameters;
}

bool appliesNothing(const EffectCommand& command, std::span<const int> values)
{
    if (command.binding != EffectBinding::TrackBars || values.empty())
        return false;
    if (command.adjustment && command.adjustment->appliesAtZero)
        return false;
    const std::vector<TrackBarSetup>* bars = command.adjustment ? &command.adjustment->trackBars : nullptr;
    auto atRest = [&](std::size_t i) {
        return bars && i < bars->size() ? trackBarAtRest((*bars)[i], values[i]) : values[i] == 0;
    };
    if (command.adjustment && command.adjustment->gatingTrackBar >= 0 &&
        std::size_t(command.adjustment->gatingTrackBar) < values.size())
        return atRest(std::size_t(command.adjustment->gatingTrackBar));
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!atRest(i))
            return false;
    return true;
}

void EffectRegistry::add(EffectCommand command)
{
    if (command.binding == EffectBinding::TrackBars && command.adjustment)
        command.parameters = trackBarParameters(*command.adjustment);
    commands_.push_back(std::move(command));
}

const EffectCommand* EffectRegistry::find(const std::string& name) const
{
    for (const auto& c : commands_)
        if (c.name == name)
            return &c;
    return nullptr;
}

Bitmap& EffectScratch::work(int width, int height)
{
    work_.reallocate(width, height, 24);
    return work_;
}

void applyEffect(const EffectCommand& command, Bitmap& document, const EffectContext& context,
                 std::span<const int> values, EffectScratch& scratch)
{
    if (command.convertTo24)
        document.setPixelFormat(24);
    if (command.shape == EffectCommand::Shape::InPlace) {
        command.inPlace(document, context, values);
        return;
    }
    Bitmap& work = scratch.work(document.width(), document.height());
    if (command.workStartsAsCopy)
        std::memcpy(work.bits(), document.bits(), document.byteSize());
    command.workCopy(document, work, context, values);
    document.swap(work); // the old document buffer becomes the next work bitmap
}

std::optional<EffectBands> effectBands(const EffectCommand& command, Bitmap& document, const EffectContext& context,
                                       std::span<const int> values)
{
    if (command.shape != EffectCommand::Shape::WorkCopy || !command.bands)
        return std::nullopt;
    if (command.convertTo24)
        document.setPixelFormat(24);
    return command.bands(document, context, values);
}

std::string checkEffectValues(const EffectCommand& command, std::span<const int> values)
{
    std::size_t required = command.parameters.size();
    while (required > 0 && command.parameters[required - 1].optional)
        --required;
    if (values.size() < required || values.size() > command.parameters.size())
        return "la commande " + command.name + " attend " +
               (required == command.parameters.size()
                    ? std::to_string(required)
                    : std::to_string(required) + " à " + std::to_string(command.parameters.size())) +
               " valeur(s), " + std::to_string(values.size()) + " donnée(s)";
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto& p = command.parameters[i];
        const int v = values[i];
        const bool ok = p.kind == EffectParameter::Kind::Colour   ? (v >= 0 && v <= 0xFFFFFF)
                        : p.kind == EffectParameter::Kind::Choice ? (v >= 0 && std::size_t(v) < p.choices.size())
                                                                  : (v >= p.minimum && v <= p.maximum);
        if (!ok)
            return "valeur hors limites pour " + p.name + " : " + std::to_string(v);
    }
    return {};
}

} // namespace px
