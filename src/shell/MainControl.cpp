// Placeholder: filled in by the module's author.
