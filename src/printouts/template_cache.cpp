#include "template_cache.h"

#include "template_layout_text.h"

namespace printouts {

bool TemplateCache::holds(int id, const QString& layoutText) const
{
    return m_built && m_built->id == id && m_built->layoutText == layoutText;
}

std::shared_ptr<const BuiltTemplate> TemplateCache::get(int id, const QString& layoutText,
                                                        const PictureReader& readPictures)
{
    if (holds(id, layoutText))
        return m_built;
    auto built = std::make_shared<BuiltTemplate>();
    built->id = id;
    built->layoutText = layoutText;
    built->layout = readLayout(layoutText);
    if (readPictures)
        built->pictures = readPictures(built->layout);
    m_built = std::move(built);
    return m_built;
}

}  // namespace printouts
