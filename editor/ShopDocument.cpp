#include "ShopDocument.h"

#include "ImagePath.h"
#include "ShopTypeLabels.h"

QString ShopDocument::fileName() const { return image_path::shownName(m_image.path()); }

void ShopDocument::adopt(rom::RomFile &&image, const std::string &internalName)
{
    m_image = std::move(image);
    m_internalName = internalName;
}

void ShopDocument::show(int index, const rom::ShopRecord &inFile)
{
    m_shown = index;
    m_picks = inFile;
    m_inFile = inFile;
    m_unlabelledType.reset();
    if (inFile.type >= rom::ShopTypeLabels::count())
        m_unlabelledType = inFile.type;
}

bool ShopDocument::close() { return m_image.close() == rom::RomError::None; }
