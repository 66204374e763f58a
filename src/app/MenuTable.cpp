// The menu tree of the main window.
#include "app/MenuTable.h"

#include "app/Main.h"

namespace lf {

const std::vector<MenuEntry>& MenuTable() {
    using M = TMainForm;
    static const std::vector<MenuEntry> table = {
        // component, parent, caption, shortcut, glyph, enabled, checkable, handler
        {"FileMenu", "", "&File", "", -1, true, false, nullptr},
        {"OpenMenu", "FileMenu", "&Apri", "Ctrl+O", 0, true, false, &M::OpenMenuClick},
        {"SaveasMenu", "FileMenu", "&Salva come", "Ctrl+S", 1, false, false, &M::SaveasMenuClick},
        {"N1", "FileMenu", "-", "", -1, true, false, nullptr},
        {"PrintMenu", "FileMenu", "&Stampa", "", 2, false, false, &M::PrintMenuClick},
        {"N7", "FileMenu", "-", "", -1, true, false, nullptr},
        {"ExitMenu", "FileMenu", "&Esci", "", 3, true, false, &M::ExitMenuClick},

        {"EditMenu", "", "&Edita", "", -1, true, false, nullptr},
        {"UndoMenu", "EditMenu", "&Annulla", "Ctrl+Z", 4, false, false, &M::UndoMenuClick},
        {"N2", "EditMenu", "-", "", -1, true, false, nullptr},
        {"CopyMenu", "EditMenu", "&Copia", "Ctrl+C", 5, false, false, &M::CopyMenuClick},
        {"PasteMenu", "EditMenu", "&Incolla", "Ctrl+V", 6, true, false, &M::PasteMenuClick},
        {"SelectallMenu", "EditMenu", "&Seleziona tutto", "Ctrl+A", -1, false, false, &M::SelectallMenuClick},

        {"FiltersMenu", "", "F&iltri", "", -1, false, false, nullptr},
        {"StatisticsMenu", "FiltersMenu", "&Statistiche", "", 7, true, false, &M::StatisticsMenuClick},
        {"ZoomMenu", "FiltersMenu", "&Zoom", "", 8, true, true, &M::ZoomMenuClick},
        {"N3", "FiltersMenu", "-", "", -1, true, false, nullptr},
        {"RetouchMenu", "FiltersMenu", "&Ritocco", "", 12, true, false, &M::RetouchMenuClick},
        {"N9", "FiltersMenu", "-", "", -1, true, false, nullptr},
        {"CustomfilterMenu", "FiltersMenu", "&Imposta filtro", "", -1, true, false,
         &M::CustomfilterMenuClick},
        {"N10", "FiltersMenu", "-", "", -1, true, false, nullptr},
        {"BlackandwhiteMenu", "FiltersMenu", "&Bianco e nero", "", -1, true, false, nullptr},
        {"BrightnessMenu", "FiltersMenu", "Luminosità", "", -1, true, false, nullptr},
        {"IncreaseBrightnessMenu", "BrightnessMenu", "&Incrementa", "", -1, true, false, nullptr},
        {"DecreaseBrightnessMenu", "BrightnessMenu", "&Decrementa", "", -1, true, false, nullptr},
        {"ChannelsMenu", "FiltersMenu", "&Canali", "", -1, true, false, nullptr},
        {"RedMenu", "ChannelsMenu", "&Rosso", "", -1, true, false, nullptr},
        {"IncreaseRedMenu", "RedMenu", "&Incrementa", "", -1, true, false, nullptr},
        {"DecreaseRedMenu", "RedMenu", "&Decrementa", "", -1, true, false, nullptr},
        {"Greenmenu", "ChannelsMenu", "&Verde", "", -1, true, false, nullptr},
        {"IncreaseGreenMenu", "Greenmenu", "&Incrementa", "", -1, true, false, nullptr},
        {"DecreaseGreenMenu", "Greenmenu", "&Decrementa", "", -1, true, false, nullptr},
        {"BlueMenu", "ChannelsMenu", "&Blu", "", -1, true, false, nullptr},
        {"IncreaseBlueMenu", "BlueMenu", "&Incrementa", "", -1, true, false, nullptr},
        {"DecreaseBlueMenu", "BlueMenu", "&Decrementa", "", -1, true, false, nullptr},
        {"GrayscaleMenu", "FiltersMenu", "&Scala di grigi", "", -1, true, false, nullptr},
        {"InvertMenu", "FiltersMenu", "&Inverti", "", -1, true, false, nullptr},
        {"InvertAllmenu", "InvertMenu", "&Tutto", "", -1, true, false, nullptr},
        {"N8", "InvertMenu", "-", "", -1, true, false, nullptr},
        {"InvertRedMenu", "InvertMenu", "&Rosso", "", -1, true, false, nullptr},
        {"InvertGreenMenu", "InvertMenu", "&Verde", "", -1, true, false, nullptr},
        {"InvertBlueMenu", "InvertMenu", "&Blu", "", -1, true, false, nullptr},
        {"LogaritmizeMenu", "FiltersMenu", "&Effetto logaritmico", "", -1, true, false, nullptr},
        {"LogaritmizeAllMenu", "LogaritmizeMenu", "&Tutto", "", -1, true, false, nullptr},
        {"N4", "LogaritmizeMenu", "-", "", -1, true, false, nullptr},
        {"LogaritmizeRedMenu", "LogaritmizeMenu", "&Rosso", "", -1, true, false, nullptr},
        {"LogaritmizeGreenMenu", "LogaritmizeMenu", "&Verde", "", -1, true, false, nullptr},
        {"LogaritmizeBlueMenu", "LogaritmizeMenu", "&Blu", "", -1, true, false, nullptr},
        {"MirrorMenu", "FiltersMenu", "&Specchia", "", -1, true, false, nullptr},
        {"HorisontallyMenu", "MirrorMenu", "&Orizzontale", "", -1, true, false, nullptr},
        {"VerticallyMenu", "MirrorMenu", "&Verticale", "", -1, true, false, nullptr},
        {"OptimizeMenu", "FiltersMenu", "&Ottimizza", "", -1, true, false, nullptr},
        {"SepiaMenu", "FiltersMenu", "&Seppia", "", -1, true, false, nullptr},
        {"N5", "FiltersMenu", "-", "", -1, true, false, nullptr},
        {"ContrastMenu", "FiltersMenu", "Co&ntrasto", "", -1, true, false, nullptr},
        {"IncreaseContrastmenu", "ContrastMenu", "&Incrementa", "", -1, true, false, nullptr},
        {"DecreaseContrastmenu", "ContrastMenu", "&Decrementa", "", -1, true, false, nullptr},
        {"FindEdgesMenu", "FiltersMenu", "&Trova bordi", "", -1, true, false, nullptr},
        {"MeanvalueMenu", "FiltersMenu", "&Valore medio", "", -1, true, false, nullptr},
        {"NoiseMenu", "FiltersMenu", "&Disturbo", "", -1, true, false, nullptr},
        {"AddNoiseMenu", "NoiseMenu", "&Aggiungi", "", -1, true, false, nullptr},
        {"RemoveNoiseMenu", "NoiseMenu", "&Rimuovi", "", -1, true, false, nullptr},
        {"SharpnessMenu", "FiltersMenu", "M&essa a fuoco", "", -1, true, false, nullptr},
        {"IncreaseSharpnessMenu", "SharpnessMenu", "&Incrementa", "", -1, true, false, nullptr},
        {"DecreaseSharpnessMenu", "SharpnessMenu", "&Decrementa", "", -1, true, false, nullptr},
        {"N6", "FiltersMenu", "-", "", -1, true, false, nullptr},
        {"DrawnMenu", "FiltersMenu", "&Carboncino", "", -1, true, false, nullptr},
        {"FeatherMenu", "FiltersMenu", "&Sfumatura colorata", "", -1, true, false, &M::FeatherMenuClick},
        {"PhotoMenu", "FiltersMenu", "&Effetti fotografici", "", -1, true, false, nullptr},
        {"Early20thCenturyMenu", "PhotoMenu", "&Inizio del 20esimo secolo", "", -1, true, false, nullptr},
        {"CheapcolorcameraMenu", "PhotoMenu", "&Macchina fotografica a colori poco costosa", "", -1, true,
         false, nullptr},
        {"ReflectionMenu", "FiltersMenu", "R&iflessione", "", -1, true, false, nullptr},
        {"ReflectionHorisontallyMenu", "ReflectionMenu", "&Orizzontale", "", -1, true, false, nullptr},
        {"ReflectionVerticallyMenu", "ReflectionMenu", "&Verticale", "", -1, true, false, nullptr},
        {"SwapchannelsMenu", "FiltersMenu", "I&nverti canali", "", -1, true, false, nullptr},

        {"DeformMenu", "", "&Deforma", "", -1, false, false, nullptr},
        {"CropMenu", "DeformMenu", "&Ritaglia", "", -1, true, false, nullptr},
        {"ResizeMenu", "DeformMenu", "&Ridimensiona", "", -1, true, false, &M::ResizeMenuClick},
        {"Rotate1", "DeformMenu", "R&uota", "", -1, true, false, nullptr},
        {"LeftMenu", "Rotate1", "&Sinistra", "", -1, true, false, nullptr},
        {"RightMenu", "Rotate1", "&Destra", "", -1, true, false, nullptr},

        {"SourcesMenu", "", "&Sorgenti", "", -1, true, false, nullptr},
        {"WebcameraMenu", "SourcesMenu", "&Webcam", "", 9, true, true, &M::WebcameraMenuClick},
        {"ScanMenu", "SourcesMenu", "&Scanner / camera digitale", "", 10, true, false, &M::ScanMenuClick},

        {"HelpMenu", "", "&Aiuto", "", -1, true, false, nullptr},
        {"AboutMenu", "HelpMenu", "&Informazioni", "", 11, true, false, &M::AboutMenuClick},
    };
    return table;
}

const std::vector<const char*>& PictureCommands() {
    static const std::vector<const char*> names = {"SaveasMenu", "PrintMenu", "FiltersMenu",
                                                   "DeformMenu", "CopyMenu",  "SelectallMenu"};
    return names;
}

}  // namespace lf
