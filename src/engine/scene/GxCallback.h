#pragma once

#include <functional>
#include <memory>
#include <utility>

template <class Signature>
class TGxCallback;

// An optional callback kept out of line: a town has millions of parts and
// objects (colours, coordinate holders, walls) and hardly any of them ever
// gets one, so each pays a pointer instead of a whole std::function.
template <class R, class... Args>
class TGxCallback<R(Args...)> {
public:
    using Function = std::function<R(Args...)>;
    template <class F>
    TGxCallback& operator=(F&& f)
    {
        m_function = std::make_unique<Function>(std::forward<F>(f));
        return *this;
    }
    explicit operator bool() const { return m_function && *m_function; }
    R operator()(Args... args) const { return (*m_function)(std::forward<Args>(args)...); }

private:
    std::unique_ptr<Function> m_function;
};
