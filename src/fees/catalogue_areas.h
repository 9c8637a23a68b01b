#pragma once
// The areas of the fee catalogue.

class AreaRegistry;

// "Media" (fee components), "Grupyoplat" (fee groups), "Jednostkimiary"
// (units), "Stawkivat" (VAT rates).
void registerCatalogueAreas(AreaRegistry& areas);
