// Registers the framework's own layout classes with the class registry. The application
// calls it once at start-up, before its own classes (which may replace these IDs).
#pragma once

void RegisterFrameworkClasses();
