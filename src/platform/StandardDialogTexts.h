#pragma once

// Loads Qt's own Russian texts (file dialog, message box buttons, context
// menus of edit fields) when the system has them, so the standard dialogs
// speak the same language as the program. Without them Qt's English stays.
// Needs the QApplication.
void installStandardDialogTexts();
