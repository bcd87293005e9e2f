// The comparison run of bench_css_colour: color.js reads the same texts as pigmora's reader,
// maps each into sRGB with the CSS gamut mapping and writes it as #rrggbb.
//
//   node read_colours.mjs times <file> <runs>   prints {"median":…, "min":…, "max":…} in µs per
//                                               colour, the file read whole and timed per run
//   node read_colours.mjs lines                 one colour a line from standard input, one
//                                               #rrggbb a line out, as convert --stdin does
import Color from "colorjs.io";
import fs from "fs";

function hex(text) {
  try {
    const c = new Color(text).to("srgb").toGamut({ space: "srgb", method: "css" });
    return c.toString({ format: "hex", collapse: false });
  } catch {
    return "-";
  }
}

const [mode, file, runs] = process.argv.slice(2);
if (mode === "times") {
  const texts = fs.readFileSync(file, "utf8").split("\n").filter(Boolean);
  const times = [];
  let sink = 0;
  for (let r = 0; r < Number(runs); ++r) {
    const start = process.hrtime.bigint();
    for (const t of texts) sink += hex(t).length;
    times.push(Number(process.hrtime.bigint() - start) / 1000 / texts.length);
  }
  times.sort((a, b) => a - b);
  const median = times.length % 2 ? times[(times.length - 1) / 2]
                                  : (times[times.length / 2 - 1] + times[times.length / 2]) / 2;
  console.log(JSON.stringify({ median, min: times[0], max: times[times.length - 1], sink }));
} else if (mode === "lines") {
  const lines = fs.readFileSync(0, "utf8").split("\n");
  if (lines.length && lines[lines.length - 1] === "") lines.pop();
  const out = [];
  for (const l of lines) out.push(hex(l));
  fs.writeSync(1, out.join("\n") + "\n");
} else {
  console.error("usage: node read_colours.mjs times <file> <runs> | lines");
  process.exit(2);
}
