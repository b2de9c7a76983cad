#pragma once

#include <QString>

#include <functional>
#include <memory>

class DocumentOpener;
class Printer;
class PrinterSource;
class TGxScene;
struct MapState;

// What the main window's hidden tool buttons do, reached from the keyboard:
// the print menu (Ctrl+P) and its two items, the help (F1), the settings
// (Ctrl+, or F10) and the settings applied to the map.
class ToolActions {
public:
    // The print menu's items.
    static constexpr char kPrintPicture[] = "Изображение";
    static constexpr char kPrintList[] = "Организации";
    // The picture is printed at this many times the view's size (300 dots an inch).
    static constexpr float kPictureScale = 3.125f;

    // What the actions ask of the windows around them.
    struct Services {
        std::function<void()> PopUpPrintMenu;
        std::function<void(Printer&, float scale)> PrintPicture; // the map view, rendered `scale` times larger
        std::function<void(Printer&)> PrintList;    // the results tree's texts
        std::function<void()> ShowSettings;         // the settings dialog, modal
    };

    // `programFolder` is where the help is looked for first; when it is
    // nowhere the copy built into the program is written to the folder
    // `spareHelpFolder` names at that moment.
    ToolActions(std::unique_ptr<PrinterSource> printers, std::unique_ptr<DocumentOpener> documents,
                QString programFolder, std::function<QString()> spareHelpFolder, Services services);
    ~ToolActions();

    // Where print jobs go and what opens the help.
    void SetPrinterSource(std::unique_ptr<PrinterSource> printers);
    void SetDocumentOpener(std::unique_ptr<DocumentOpener> documents);

    void PrintMenu();
    // The item of the print menu named `item`: the picture at kPictureScale
    // or the list. An unknown item raises an error.
    void Print(const QString& item);
    // A printer is asked for, with the print menu's item as the job's
    // suggested name, and the picture or the list goes to it; nothing is
    // printed when the user chose no printer.
    void PrintPicture(float scale);
    void PrintList();
    // The help handed to the desktop's viewer; raises an error naming the
    // file when there is none.
    void Help();
    void Settings();
    // Everything that is not a house directly under the scene's root shows as
    // `state` says; houses and the bands drawn over the map (MapBand) always show.
    static void ApplySettings(const MapState& state, TGxScene& scene);

private:
    std::unique_ptr<PrinterSource> m_printers;
    std::unique_ptr<DocumentOpener> m_documents;
    QString m_programFolder;
    std::function<QString()> m_spareHelpFolder;
    Services m_services;
};
