#include "ShopDocument.h"

#include "ShopTypeLabels.h"

void ShopDocument::adopt(rom::RomFile &&image, const QString &fileName, const std::string &internalName)
{
    m_image = std::move(image);
    m_fileName = fileName;
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
