#pragma once

class NetworkInterfaceCard;

// The program's one list of network interfaces, which the network search
// dialogs share. The main window owns it and hands it in here for its
// lifetime; without one (a dialog opened on its own) a list of this file's
// own stands in.
NetworkInterfaceCard &program_network_interfaces();
// |cards| becomes the program's list; nullptr goes back to the stand-in.
void set_program_network_interfaces(NetworkInterfaceCard *cards);
