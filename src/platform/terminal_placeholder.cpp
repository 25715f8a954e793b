// Keeps the backend library non-empty while it has no other sources.
namespace zorvat {}
