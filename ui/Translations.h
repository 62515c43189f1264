#pragma once
// The Swedish texts of the standard dialogs the program opens (file dialogs, print preview,
// print and page set-up): Qt's own Swedish catalogue where the system has it, and the
// program's catalogue, built into the program, for what that one leaves in English.

class QCoreApplication;

// Installs both catalogues on the application, whatever the locale. Returns false when the
// program's own catalogue could not be loaded (Qt's may be missing on a system without it).
bool installSwedishTranslations(QCoreApplication& app);
