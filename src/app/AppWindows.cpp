#include "app/AppWindows.h"

#include "app/FinishWindow.h"
#include "app/MainWindow.h"
#include "app/SettingsDialog.h"
#include "app/SplashWindow.h"

AppWindows::AppWindows(const QString& programFolder, const QString& townFolder, std::function<void()> endProcess)
    : m_endProcess(std::move(endProcess))
{
    new Tfm_main(*this, programFolder, townFolder);
    CreationCompleted(fm_main);
    new Tfm_finish(*this);
    new Tfm_sett(*this);
}

AppWindows::~AppWindows()
{
    delete fm_sett;
    delete fm_finish;
    delete fm_start;
    delete fm_main;
}

void AppWindows::ShowSplash()
{
    if (fm_start)
        return;
    new Tfm_start(*this);
    fm_start->show();
}

void AppWindows::CreateSplash()
{
    ShowSplash();
    m_splashCompleted = true;
    CreationCompleted(fm_start);
}

void AppWindows::DropSplash()
{
    if (m_splashCompleted || !fm_start)
        return;
    delete fm_start;
    fm_start = nullptr;
}

void AppWindows::CreationCompleted(QWidget* window)
{
    if (m_principal == nullptr)
        m_principal = window;
}

void AppWindows::MessageLoopStarts()
{
    m_loopRunning = true;
    // The splash showed itself during creation; showing it here again would
    // bring it back if it had already handed over.
    if (m_principal != nullptr && m_principal == fm_main)
        fm_main->show();
    if (fm_start)
        fm_start->MessageLoopStarts();
}

void AppWindows::WindowClosed(QWidget* window)
{
    if (window == m_principal && m_endProcess)
        m_endProcess();
}
