#pragma once
// The settings file "skenbrus.ini" in the user's configuration folder: segment length,
// country, the trace switches and the folder of the last project file.

#include <QString>
#include <memory>

class QSettings;

class AppSettings {
public:
    // Opens the file at `path`, or at the default place (<config>/skenbrus/skenbrus.ini)
    // when it is empty, and writes every missing key with its default.
    explicit AppSettings(const QString& path = QString());
    ~AppSettings();

    static QString defaultPath();
    QString path() const;

    int segment() const;
    void setSegment(int v);
    // "Norge", "Sverige" or anything else (Finland).
    QString land() const;
    void setLand(const QString& v);
    // 0 Norge, 1 Sverige, 2 Finland: the country named by "Land", compared exactly.
    int country() const;
    bool traceEquivalent() const;
    bool traceMaximum() const;
    // "Med situationsplan": the report gets the site plan as its second page.
    bool sitePlanInReport() const;
    void setSitePlanInReport(bool on);
    QString currentDir() const;
    void setCurrentDir(const QString& v);

    static QString countryName(int country);

    // Free texts of the section "Studie" (the guideline values of the height studies);
    // empty when missing.
    QString studyText(const QString& key) const;
    void setStudyText(const QString& key, const QString& v);

private:
    std::unique_ptr<QSettings> s_;
};
