// Placeholder until the package and service readers exist.
