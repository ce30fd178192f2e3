// The probe maker's link module stands beside its server. The simulated
// server needs nothing of it: this stand-in only has to be there, for the
// program checks that the server's files are present.
