#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "windowing/form_window.h"

namespace kestrane {

// The one instance of window class T, reached by name. Access creates the window hidden and runs
// its load handler once; an unloaded window counts as gone and the next access builds a new one.
// A library that adds behaviour to a window designed elsewhere installs a factory for it.
template <class T>
class FormSlot {
public:
    using Factory = std::function<std::unique_ptr<T>()>;

    static T& get() {
        if (T* window = existing()) {
            return *window;
        }
        std::unique_ptr<T> created = factory() ? factory()() : makeDesign();
        instance() = created.release();
        // Registered before loading, so that the load handler and what it calls find this window.
        instance()->Form_Load();
        return *instance();
    }

    static T* existing() {
        T* window = instance().data();
        return window != nullptr && !window->isUnloaded() ? window : nullptr;
    }

    static void unload() {
        if (T* window = existing()) {
            window->unload();
        }
    }

    static void setFactory(Factory make) { factory() = std::move(make); }

private:
    static std::unique_ptr<T> makeDesign() {
        if constexpr (std::is_default_constructible_v<T>) {
            return std::make_unique<T>();
        } else {
            return nullptr;
        }
    }
    static QPointer<T>& instance() {
        static QPointer<T> window;
        return window;
    }
    static Factory& factory() {
        static Factory make;
        return make;
    }
};

// The window T, created and loaded if it does not exist.
template <class T>
T& form() {
    return FormSlot<T>::get();
}

}  // namespace kestrane
