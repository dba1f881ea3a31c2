Placeholder in the simulated machine: x64 driver file MPDW-constraints.js of Microsoft Print To PDF.
