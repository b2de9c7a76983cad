#pragma once

// Sets a flag for a scope and clears it on every way out, exceptions included.
class TGxFlagScope {
public:
    explicit TGxFlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~TGxFlagScope() { m_flag = false; }
    TGxFlagScope(const TGxFlagScope&) = delete;
    TGxFlagScope& operator=(const TGxFlagScope&) = delete;

private:
    bool& m_flag;
};
