#pragma once
// A user locale that writes numbers with a decimal comma, for the numeric category while it lives.
// Where the machine has none installed, one is built with localedef into a folder of the test
// program; Active() is false when neither is possible, and the test then runs in the C locale.
#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <cstdlib>
#include <string>

class CommaLocale {
public:
    CommaLocale() : m_saved(std::setlocale(LC_NUMERIC, nullptr))
    {
        m_active = std::setlocale(LC_NUMERIC, kName) || (useBuilt() && std::setlocale(LC_NUMERIC, kName));
    }
    ~CommaLocale()
    {
        std::setlocale(LC_NUMERIC, m_saved.c_str());
        if (m_locpath) unsetenv("LOCPATH");
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool Active() const { return m_active; }

private:
    static constexpr const char* kName = "de_DE.UTF-8";

    bool useBuilt()
    {
        static QTemporaryDir folder;
        static const bool built =
            folder.isValid() &&
            QProcess::execute(QStringLiteral("localedef"),
                              {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                               QStringLiteral("UTF-8"), folder.filePath(QString::fromLatin1(kName))}) == 0;
        if (!built) return false;
        m_locpath = setenv("LOCPATH", folder.path().toLocal8Bit().constData(), 1) == 0;
        return m_locpath;
    }

    std::string m_saved;
    bool m_active = false;
    bool m_locpath = false;
};
