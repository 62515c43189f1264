#include "ui/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString kSegment = QStringLiteral("Skenbrus/Segment");
const QString kLand = QStringLiteral("Skenbrus/Land");
const QString kCurrentDir = QStringLiteral("Skenbrus/CurrentDir");
const QString kSitePlan = QStringLiteral("Skenbrus/Situationsplan");
const QString kEkvivalent = QStringLiteral("Debug/Ekvivalent");
const QString kMax = QStringLiteral("Debug/Max");

// Booleans are stored as 0/1; any non-zero number reads as true.
bool readBool(const QSettings& s, const QString& key)
{
    bool ok = false;
    const int v = s.value(key).toString().trimmed().toInt(&ok);
    return ok && v != 0;
}
}  // namespace

QString AppSettings::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/skenbrus/skenbrus.ini");
}

AppSettings::AppSettings(const QString& path)
{
    const QString p = path.isEmpty() ? defaultPath() : path;
    QDir().mkpath(QFileInfo(p).absolutePath());
    s_ = std::make_unique<QSettings>(p, QSettings::IniFormat);
    if (!s_->contains(kSegment)) s_->setValue(kSegment, 1);
    if (!s_->contains(kLand)) s_->setValue(kLand, QStringLiteral("Sverige"));
    if (!s_->contains(kEkvivalent)) s_->setValue(kEkvivalent, 0);
    if (!s_->contains(kMax)) s_->setValue(kMax, 0);
    s_->sync();
}

AppSettings::~AppSettings() = default;

QString AppSettings::path() const { return s_->fileName(); }

int AppSettings::segment() const
{
    bool ok = false;
    const int v = s_->value(kSegment).toString().trimmed().toInt(&ok);
    return ok ? v : 1;
}

void AppSettings::setSegment(int v)
{
    s_->setValue(kSegment, v);
    s_->sync();
}

QString AppSettings::land() const { return s_->value(kLand).toString(); }

void AppSettings::setLand(const QString& v)
{
    s_->setValue(kLand, v);
    s_->sync();
}

int AppSettings::country() const
{
    const QString l = land();
    if (l == QStringLiteral("Norge")) return 0;
    if (l == QStringLiteral("Sverige")) return 1;
    return 2;
}

bool AppSettings::traceEquivalent() const { return readBool(*s_, kEkvivalent); }
bool AppSettings::traceMaximum() const { return readBool(*s_, kMax); }

bool AppSettings::sitePlanInReport() const { return readBool(*s_, kSitePlan); }

void AppSettings::setSitePlanInReport(bool on)
{
    s_->setValue(kSitePlan, on ? 1 : 0);
    s_->sync();
}

QString AppSettings::currentDir() const { return s_->value(kCurrentDir).toString(); }

void AppSettings::setCurrentDir(const QString& v)
{
    s_->setValue(kCurrentDir, v);
    s_->sync();
}

QString AppSettings::countryName(int country)
{
    switch (country) {
    case 0: return QStringLiteral("Norge");
    case 1: return QStringLiteral("Sverige");
    default: return QStringLiteral("Finland");
    }
}

QString AppSettings::studyText(const QString& key) const
{
    return s_->value(QStringLiteral("Studie/") + key).toString();
}

void AppSettings::setStudyText(const QString& key, const QString& v)
{
    s_->setValue(QStringLiteral("Studie/") + key, v);
    s_->sync();
}
