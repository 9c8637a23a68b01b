#pragma once
// The built-template cache a printing dialog keeps: the template parsed and
// its pictures read, reused while the same template (same ID, same layout
// text) is printed again.

#include "print_template.h"
#include "template_render.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace printouts {

struct BuiltTemplate {
    int id = 0;
    QString layoutText;
    PrintTemplate layout;
    TemplatePictures pictures;
};

class TemplateCache {
public:
    using PictureReader = std::function<TemplatePictures(const PrintTemplate&)>;

    // The built template of `id` with this layout text: the cached one when
    // both match, else parsed anew and its pictures read. A malformed text
    // throws Error and leaves the cache as it was.
    std::shared_ptr<const BuiltTemplate> get(int id, const QString& layoutText, const PictureReader& readPictures);

    bool holds(int id, const QString& layoutText) const;
    void clear() { m_built.reset(); }

private:
    std::shared_ptr<const BuiltTemplate> m_built;
};

}  // namespace printouts
