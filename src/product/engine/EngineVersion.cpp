// Placeholder translation unit so the engine library always has an object.
namespace oryn::engine
{
int engineLibraryMarker() { return 1; }
} // namespace oryn::engine
