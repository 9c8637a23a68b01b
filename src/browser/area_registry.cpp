#include "area_registry.h"

#include "browser/run_context.h"

namespace {

// Collects the windows opened while it lives.
class Capture : public WindowOpener::Listener {
public:
    explicit Capture(WindowOpener& opener) : m_opener(opener), m_outer(innermost())
    {
        innermost() = this;
        m_opener.addListener(this);
    }
    ~Capture() override
    {
        m_opener.removeListener(this);
        innermost() = m_outer;
    }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    void windowOpened(WindowOpener::WindowId window, Command* owner) override
    {
        // Windows of module commands run while the area opens (docked ones,
        // say) belong to those commands, and those of an area opened while
        // this one opens belong to that area.
        if (!owner && innermost() == this)
            m_windows << window;
    }
    void windowClosed(WindowOpener::WindowId window) override { m_windows.removeAll(window); }

    QList<WindowOpener::WindowId> stillOpen() const
    {
        QList<WindowOpener::WindowId> out;
        for (WindowOpener::WindowId w : m_windows)
            if (m_opener.isOpen(w))
                out << w;
        return out;
    }

private:
    static Capture*& innermost()
    {
        static Capture* capture = nullptr;
        return capture;
    }

    WindowOpener& m_opener;
    Capture* m_outer;
    QList<WindowOpener::WindowId> m_windows;
};

}  // namespace

bool AreaRegistry::open(const QString& area, RunContext& context, const QVariantMap& arguments) const
{
    const auto it = m_areas.constFind(area);
    if (it == m_areas.constEnd())
        return false;
    (*it)(context, arguments);
    return true;
}

AreaRegistry::Opened AreaRegistry::openWindows(const QString& area, RunContext& context,
                                               const QVariantMap& arguments) const
{
    Capture capture(context.opener);
    Opened result;
    result.built = open(area, context, arguments);
    result.windows = capture.stillOpen();
    return result;
}
