#pragma once

// What an update handler says about one command: enabled, checked (0 off, 1 on, 2 indeterminate)
// and whether the check is a radio mark.
class CmdUI {
public:
    explicit CmdUI(int id) : m_ID(id) {}

    int ID() const { return m_ID; }

    void Enable(bool on = true)
    {
        m_Enabled = on;
        m_EnableChanged = true;
    }
    void SetCheck(int check = 1) { m_Check = check; }
    void SetRadio(bool on = true)
    {
        m_Check = on ? 1 : 0;
        m_Radio = true;
    }

    bool IsEnabled() const { return m_Enabled; }
    bool EnableChanged() const { return m_EnableChanged; }
    int Check() const { return m_Check; }
    bool IsRadio() const { return m_Radio; }

private:
    int m_ID;
    bool m_Enabled = false;
    bool m_EnableChanged = false;
    int m_Check = 0;
    bool m_Radio = false;
};
