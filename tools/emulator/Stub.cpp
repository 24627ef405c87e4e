int orvane_emu_stub;
