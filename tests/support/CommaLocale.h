#pragma once
// A locale that writes numbers with a decimal comma, for LC_NUMERIC while it lives; built with
// localedef where none is installed. Active() is false when neither works (the C locale stays).
#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <cstdlib>
#include <string>

class CommaLocale {
public:
    CommaLocale() : m_saved(std::setlocale(LC_NUMERIC, nullptr))
    {
        static QTemporaryDir built;
        static const bool made =
            QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", built.filePath(kName)}) == 0;
        m_active = std::setlocale(LC_NUMERIC, kName) ||
                   (made && setenv("LOCPATH", qPrintable(built.path()), 1) == 0 &&
                    std::setlocale(LC_NUMERIC, kName));
    }
    ~CommaLocale()
    {
        std::setlocale(LC_NUMERIC, m_saved.c_str());
        unsetenv("LOCPATH");
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool Active() const { return m_active; }

private:
    static constexpr const char* kName = "de_DE.UTF-8";
    std::string m_saved;
    bool m_active = false;
};
