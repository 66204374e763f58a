// The table of filter commands: component name, caption, submenu and stages, in menu order.
#include "filters/FilterCommands.h"

#include "filters/Filters.h"

namespace lf {

const std::vector<FilterCommand>& FilterCommands() {
    static const std::vector<FilterCommand> table = [] {
        const Stage mean1 = [] { Mean(1); };
        const Stage noise = [] { AddNoise(25); };
        const Stage contrastUp = [] { Contrast(Direction::Increase); };
        auto adjust = [](int dR, int dG, int dB) -> Stage { return [=] { AdjustChannels(dR, dG, dB); }; };
        auto invert = [](int channel) -> Stage { return [=] { Invert(channel); }; };
        auto logaritmize = [](int channel) -> Stage { return [=] { Logaritmize(channel); }; };
        const char* brightness = "Luminosità";
        const char* channels = "&Canali";
        const char* inverti = "&Inverti";
        const char* logarithmic = "&Effetto logaritmico";
        const char* photographic = "&Effetti fotografici";
        return std::vector<FilterCommand>{
            {"BlackandwhiteMenu", "&Bianco e nero", {}, {[] { BlackAndWhite(); }}},
            {"IncreaseBrightnessMenu", "&Incrementa", {brightness}, {adjust(25, 25, 25)}},
            {"DecreaseBrightnessMenu", "&Decrementa", {brightness}, {adjust(-25, -25, -25)}},
            {"IncreaseRedMenu", "&Incrementa", {channels, "&Rosso"}, {adjust(25, 0, 0)}},
            {"DecreaseRedMenu", "&Decrementa", {channels, "&Rosso"}, {adjust(-25, 0, 0)}},
            {"IncreaseGreenMenu", "&Incrementa", {channels, "&Verde"}, {adjust(0, 25, 0)}},
            {"DecreaseGreenMenu", "&Decrementa", {channels, "&Verde"}, {adjust(0, -25, 0)}},
            {"IncreaseBlueMenu", "&Incrementa", {channels, "&Blu"}, {adjust(0, 0, 25)}},
            {"DecreaseBlueMenu", "&Decrementa", {channels, "&Blu"}, {adjust(0, 0, -25)}},
            {"GrayscaleMenu", "&Scala di grigi", {}, {[] { Grayscale(); }}},
            {"InvertAllmenu", "&Tutto", {inverti}, {invert(kAllChannels)}},
            {"InvertRedMenu", "&Rosso", {inverti}, {invert(kRedChannel)}},
            {"InvertGreenMenu", "&Verde", {inverti}, {invert(kGreenChannel)}},
            {"InvertBlueMenu", "&Blu", {inverti}, {invert(kBlueChannel)}},
            {"LogaritmizeAllMenu", "&Tutto", {logarithmic}, {logaritmize(kAllChannels)}},
            {"LogaritmizeRedMenu", "&Rosso", {logarithmic}, {logaritmize(kRedChannel)}},
            {"LogaritmizeGreenMenu", "&Verde", {logarithmic}, {logaritmize(kGreenChannel)}},
            {"LogaritmizeBlueMenu", "&Blu", {logarithmic}, {logaritmize(kBlueChannel)}},
            {"OptimizeMenu", "&Ottimizza", {}, {[] { Optimize(); }}},
            {"SepiaMenu", "&Seppia", {}, {[] { Grayscale(); }, adjust(25, 0, -25)}},
            {"IncreaseContrastmenu", "&Incrementa", {"Co&ntrasto"}, {contrastUp}},
            {"DecreaseContrastmenu", "&Decrementa", {"Co&ntrasto"}, {[] { Contrast(Direction::Decrease); }}},
            {"FindEdgesMenu", "&Trova bordi", {}, {[] { FindEdges(); }}},
            {"MeanvalueMenu", "&Valore medio", {}, {[] { Mean(5); }}},
            {"AddNoiseMenu", "&Aggiungi", {"&Disturbo"}, {noise}},
            {"RemoveNoiseMenu", "&Rimuovi", {"&Disturbo"}, {mean1}},
            {"IncreaseSharpnessMenu", "&Incrementa", {"M&essa a fuoco"}, {[] {
                 Sharpness(Direction::Increase);
             }}},
            {"DecreaseSharpnessMenu", "&Decrementa", {"M&essa a fuoco"}, {[] {
                 Sharpness(Direction::Decrease);
             }}},
            {"DrawnMenu", "&Carboncino", {}, {mean1, [] { FindEdges(); }, invert(kAllChannels), contrastUp}},
            {"Early20thCenturyMenu",
             "&Inizio del 20esimo secolo",
             {photographic},
             {noise, mean1, [] { Grayscale(); }, adjust(25, 13, -25), contrastUp}},
            {"CheapcolorcameraMenu",
             "&Macchina fotografica a colori poco costosa",
             {photographic},
             {adjust(25, 0, 0), noise, mean1, contrastUp}},
            {"SwapchannelsMenu", "I&nverti canali", {}, {[] { SwapChannels(); }}},
        };
    }();
    return table;
}

const FilterCommand* FindFilterCommand(std::string_view component) {
    for (const FilterCommand& command : FilterCommands())
        if (component == command.component) return &command;
    return nullptr;
}

}  // namespace lf
