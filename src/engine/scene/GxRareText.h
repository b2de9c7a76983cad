#pragma once

#include <memory>
#include <string>

// A text that nearly every object leaves empty (a name, a hint), kept behind
// a pointer: a town's hundreds of thousands of objects pay 8 bytes, not 32.
class TGxRareText {
public:
    const std::string& Get() const
    {
        static const std::string none;
        return m_text ? *m_text : none;
    }
    void Set(const std::string& text)
    {
        if (text.empty())
            m_text.reset();
        else if (m_text)
            *m_text = text;
        else
            m_text = std::make_unique<std::string>(text);
    }

private:
    std::unique_ptr<std::string> m_text;
};
