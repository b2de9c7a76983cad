// The generator's code grows here.
