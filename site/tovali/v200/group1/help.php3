<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<title>Tovali Explorer - Help from the web</title>
<style>
  body { margin: 0; padding: 24px 40px; background: #e8eaf6; font-family: "DejaVu Sans", Arial, sans-serif; color: #283593; }
  h1 { font-size: 40px; margin: 0 0 12px; text-align: center; }
  h2 { font-size: 28px; margin: 24px 0 8px; }
  p, li { font-size: 22px; line-height: 1.4; }
  .box { background: #fff; border-radius: 18px; padding: 8px 24px 16px; margin: 0 auto 18px; max-width: 900px; }
  b { color: #c62828; }
</style>
</head>
<body>
<h1>Help from the Tovali web site</h1>
<div class="box">
  <h2>Finding something to do</h2>
  <p>The list on the left is the <b>menu</b>. Click a coloured button and the site opens on the right.</p>
  <p>Click <b>On the Farm</b> to see more sites in the menu, and <b>More Sites</b> to see the sites your grown-up
     chose for you.</p>
</div>
<div class="box">
  <h2>The buttons at the top</h2>
  <ul>
    <li><b>Back</b> and <b>Forward</b> move between the pages you have already seen.</li>
    <li><b>Stop</b> stops a page that takes too long.</li>
    <li><b>Home</b> brings the menu back.</li>
    <li><b>Print</b> prints the page on the right, if your grown-up allows it.</li>
    <li><b>Help</b> opens help: the one on the computer or this one from the web.</li>
  </ul>
</div>
<div class="box">
  <h2>"Please choose a different link"</h2>
  <p>Some pages are not open for you. When you see a star with red words, choose another link. The star goes away
     by itself, or click it.</p>
</div>
<div class="box">
  <h2>For grown-ups</h2>
  <p>Double-click the tools picture at the right end of the line at the bottom of the screen to close the program or
     to open its setup. The first password is "marigold"; please change it in the setup's Password tab.</p>
</div>
</body>
</html>
