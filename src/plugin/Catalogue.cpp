// Placeholder until the catalogue lands.
#include "plugin/Catalogue.h"

namespace cv {

void RegisterCatalogue() {}

}  // namespace cv
