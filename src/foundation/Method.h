#pragma once
// An event handler bound to an object: a code (which routine) and the object it runs on, so that a
// handler can be compared with another one, stored away and put back (data-set events, commands).
#include <QByteArray>
#include <atomic>
#include <cstring>
#include <functional>
#include <typeinfo>
#include <utility>

template <class Sig>
class TMethod;

template <class R, class... Args>
class TMethod<R(Args...)> {
public:
    TMethod() = default;

    // A member function bound to an object; two handlers of the same member function on the same
    // object compare equal.
    template <class T>
    TMethod(T* object, R (T::*method)(Args...))
        : FCode(MemberCode<T>(method)), FData(object),
          FCall([object, method](Args... args) -> R { return (object->*method)(std::forward<Args>(args)...); })
    {
    }

    // A free or static function (a class-level routine); the object is optional.
    TMethod(R (*function)(Args...), const void* object = nullptr)
        : FData(object)
    {
        if (!function) return;
        FCode = FunctionCode(function);
        FCall = function;
    }

    // Any callable. It has no routine to name it, so each call of FromCallable makes a new code,
    // equal only to copies of this handler.
    template <class F>
    static TMethod FromCallable(F&& callable, const void* object = nullptr)
    {
        static std::atomic<quint64> counter{0};
        TMethod m;
        const quint64 n = ++counter;
        m.FCode = QByteArray("callable#") + QByteArray::number(n);
        m.FData = object;
        m.FCall = std::function<R(Args...)>(std::forward<F>(callable));
        return m;
    }

    // A callable that stands for a named routine: handlers with the same code and object compare
    // equal (methods found by name at run time).
    template <class F>
    static TMethod WithCode(const QByteArray& code, F&& callable, const void* object)
    {
        TMethod m;
        m.FCode = code;
        m.FData = object;
        m.FCall = std::function<R(Args...)>(std::forward<F>(callable));
        return m;
    }

    explicit operator bool() const { return static_cast<bool>(FCall); }
    R operator()(Args... args) const { return FCall(std::forward<Args>(args)...); }

    // Which routine the handler runs; empty for no handler.
    const QByteArray& Code() const { return FCode; }
    // The object the routine is bound to.
    const void* Data() const { return FData; }

    bool operator==(const TMethod& other) const { return FCode == other.FCode && FData == other.FData; }
    bool operator!=(const TMethod& other) const { return !(*this == other); }

private:
    template <class T, class M>
    static QByteArray MemberCode(M method)
    {
        QByteArray code(typeid(T).name());
        code += '#';
        code += QByteArray(reinterpret_cast<const char*>(&method), sizeof(method));
        return code;
    }
    static QByteArray FunctionCode(R (*function)(Args...))
    {
        QByteArray code("fn#");
        code += QByteArray(reinterpret_cast<const char*>(&function), sizeof(function));
        return code;
    }

    QByteArray FCode;
    const void* FData = nullptr;
    std::function<R(Args...)> FCall;
};
