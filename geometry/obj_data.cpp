// placeholder until the parser lands
