// SPDX-License-Identifier: GPL-3.0-or-later
// The window factory: the shell's windows are made from small integer ids, so that a window
// asks for its children by id and tests can put their own windows in their place.
#pragma once

#include <QString>
#include <functional>
#include <map>

class QWidget;

namespace vornik {

enum WindowId : int {
    kViewWindowId = 1,   // CVornikView
    kFrameWindowId = 2,  // CMainFrame
    kListWindowId = 3,   // CVornikList
    kTreeWindowId = 4,   // CVornikTree
};

inline constexpr char kWindowNotRegisteredText[] = "Window not registered";

// What every factory-made window offers its parent.
class CFrameWindowStuff {
  public:
    virtual ~CFrameWindowStuff() = default;
    // The window's widget; Qt's parent owns it.
    virtual QWidget* GetHwnd() = 0;
};

class WindowFactory {
  public:
    // Makes a new window as a child of `parent` (null: a top-level window).
    using Creator = std::function<CFrameWindowStuff*(QWidget* parent)>;

    static WindowFactory& Instance();

    void Register(int id, Creator creator);
    void Unregister(int id);
    bool IsRegistered(int id) const { return creators_.count(id) != 0; }
    // A new window of `id`; null when no creator is registered for it.
    CFrameWindowStuff* Create(int id, QWidget* parent) const;

  private:
    std::map<int, Creator> creators_;
};

// The creator of window class `T`, which is made from its parent widget.
template <class T>
WindowFactory::Creator StandardCreator() {
    return [](QWidget* parent) -> CFrameWindowStuff* { return new T(parent); };
}

// Registers the four windows of the program. Called first thing at start-up; an explicit call
// rather than static registration objects, which a static library would drop at link time.
void RegisterWindows();

// Shows the "Window not registered" box, which has no caption.
void ReportUnregisteredWindow();

// A new window of `id` as class `T`; null, after the box above, when none is registered or
// the registered one is not a `T`.
template <class T>
T* CreateRegisteredWindow(int id, QWidget* parent) {
    CFrameWindowStuff* const window = WindowFactory::Instance().Create(id, parent);
    T* const typed = dynamic_cast<T*>(window);
    if (typed == nullptr) {
        delete window;
        ReportUnregisteredWindow();
    }
    return typed;
}

}  // namespace vornik
