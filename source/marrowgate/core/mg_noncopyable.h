#pragma once
/// Base for classes whose objects own something that must not be duplicated (windows,
/// managers, registered test cases). Derive privately or publicly; copying and moving a
/// derived object then fails to compile. @file

namespace Marrowgate::Core {

class Noncopyable
{
public:
    Noncopyable(const Noncopyable&) = delete;
    Noncopyable& operator=(const Noncopyable&) = delete;

protected:
    Noncopyable() = default;
    ~Noncopyable() = default;
};

} // namespace Marrowgate::Core
