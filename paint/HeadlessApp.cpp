#include "paint/HeadlessApp.h"

HeadlessApp::HeadlessApp()
    : previousHandler_(qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {}))
{
    if (!QCoreApplication::instance())
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    else
        usable_ = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

HeadlessApp::~HeadlessApp()
{
    app_.reset();
    qInstallMessageHandler(previousHandler_);
}
