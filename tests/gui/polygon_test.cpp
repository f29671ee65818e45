// Scenarios are added here as the shell grows.
