#include "app/ToolActions.h"

#include "map/MapState.h"
#include "directory/HelpFile.h"
#include "directory/PrinterSource.h"
#include "base/GxException.h"
#include "engine/scene/GxScene.h"
#include "engine/scene/GxSceneUpdate.h"
#include "platform/DocumentOpener.h"
#include "map/House.h"
#include "map/MapBand.h"
#include "map/MapLabels.h"

ToolActions::ToolActions(std::unique_ptr<PrinterSource> printers, std::unique_ptr<DocumentOpener> documents,
                         QString programFolder, std::function<QString()> spareHelpFolder, Services services)
    : m_printers(std::move(printers)), m_documents(std::move(documents)), m_programFolder(std::move(programFolder)),
      m_spareHelpFolder(std::move(spareHelpFolder)), m_services(std::move(services))
{
}

ToolActions::~ToolActions() = default;

void ToolActions::SetPrinterSource(std::unique_ptr<PrinterSource> printers)
{
    m_printers = std::move(printers);
}

void ToolActions::SetDocumentOpener(std::unique_ptr<DocumentOpener> documents)
{
    m_documents = std::move(documents);
}

void ToolActions::PrintMenu()
{
    if (m_services.PopUpPrintMenu)
        m_services.PopUpPrintMenu();
}

void ToolActions::Print(const QString& item)
{
    if (item == QString::fromUtf8(kPrintPicture))
        PrintPicture(kPictureScale);
    else if (item == QString::fromUtf8(kPrintList))
        PrintList();
    else
        throw EGxError(("Нет такого пункта печати \"" + item + "\"").toStdString());
}

void ToolActions::PrintPicture(float scale)
{
    if (auto printer = m_printers->DefaultPrinter(QString::fromUtf8(kPrintPicture)); printer && m_services.PrintPicture)
        m_services.PrintPicture(*printer, scale);
}

void ToolActions::PrintList()
{
    if (auto printer = m_printers->DefaultPrinter(QString::fromUtf8(kPrintList)); printer && m_services.PrintList)
        m_services.PrintList(*printer);
}

void ToolActions::Help()
{
    const QString help = HelpFile::Find(m_programFolder, m_spareHelpFolder());
    if (!m_documents->Open(help))
        throw EGxError(("Нет программы для просмотра справки \"" + help + "\"").toStdString());
}

void ToolActions::Settings()
{
    if (m_services.ShowSettings)
        m_services.ShowSettings();
}

void ToolActions::ApplySettings(const MapState& state, TGxScene& scene)
{
    const TGxSceneUpdate update(scene);
    TGxBaseSceneObject* root = scene.ObjectRoot();
    for (int i = 0; i < root->Count(); ++i) {
        TGxBaseSceneObject* object = root->Children(i);
        // The labels have switches of their own; what the user drew (a route,
        // a ruler) is not part of the town.
        if (dynamic_cast<Thouse*>(object) == nullptr && dynamic_cast<TMapLabels*>(object) == nullptr &&
            dynamic_cast<MapBand*>(object) == nullptr)
            object->SetVisible(state.ShowNonBuildings);
    }
    // The labels' switches may have changed: draw again.
    for (int i = 0; i < root->Count(); ++i)
        if (auto* labels = dynamic_cast<TMapLabels*>(root->Children(i)))
            labels->SignalChange();
}
